"""read() and check() give what scpecg show, export and check give, on the shared
samples (files of other writers) and on generated records."""
import io
import json

import numpy as np
import pandas as pd
import pytest

import ktxscp32
from conftest import scpecg, show_json


def _header_view(record):
    """The record's header parts in scpecg show's spelling (dates back to text)."""
    p, r, g = record.patient, record.recording, record.general
    patient = {**vars(p), "birth_date": p.birth_date.isoformat() if p.birth_date else None}
    recording = {k: v for k, v in vars(r).items() if k != "acquired"}
    general = {k: v for k, v in vars(g).items() if k != "received"}
    return patient, recording, general


def test_samples_read_as_scpecg_shows_them(samples):
    for path in samples:
        status, out = scpecg("show", "--json", path, check=False)
        if status != 0:  # a file scpecg refuses is refused here too, with the code
            with pytest.raises(ktxscp32.ScpError):
                ktxscp32.read(path)
            continue
        shown = json.loads(out)
        record = ktxscp32.read(path)
        patient, recording, general = _header_view(record)
        if "patient" in shown:
            expected = {k: v for k, v in shown["patient"].items() if k != "birth_date"}
            assert {k: v for k, v in patient.items() if k != "birth_date"} == expected, path
            assert {k: v for k, v in shown["recording"].items()
                    if not k.startswith("acquisition_")} == recording, path
            assert {k: v for k, v in shown["general"].items() if k != "received"} == general
            assert record.lead_errors == shown["lead_errors"]
        leads = shown.get("lead_definitions", {}).get("leads", [])
        assert record.leads == [d["label"] for d in leads]
        assert record.encoding == shown.get("encoding", "")
        rhythm = shown.get("rhythm", {"leads": []})
        assert record.rhythm.shape[0] == len(rhythm["leads"])
        assert record.rate == pytest.approx(rhythm.get("sampling_rate_hz"))
        avm = rhythm.get("avm_nv", 0) / 1000
        for row, lead in zip(record.rhythm, rhythm["leads"]):
            values = row[~np.isnan(row)]
            assert values.size == lead["samples"], path
            assert values.min() == pytest.approx(lead["min"] * avm)
            assert values.max() == pytest.approx(lead["max"] * avm)
        if "analysis" in shown and "global_measurements" in shown["analysis"]:
            assert record.global_measurements == shown["analysis"]["global_measurements"]
        verdict = json.loads(scpecg("check", "--json", path, check=False)[1])[0]["verdict"]
        assert record.crc_valid == (None if verdict is None else verdict == "valid")
        assert ktxscp32.check(path) == (verdict == "valid")


def test_rhythm_equals_scpecg_export(samples, tmp_path):
    for path in samples:
        if "rhythm" not in json.loads(scpecg("show", "--json", path, check=False)[1] or "{}"):
            continue
        out = tmp_path / "export.csv"
        scpecg("export", "--format", "csv", "-o", str(out), path)
        exported = pd.read_csv(out).to_numpy(dtype=np.float64).T
        record = ktxscp32.read(path)
        assert record.rhythm.shape == exported.shape, path
        np.testing.assert_allclose(record.rhythm, exported, rtol=1e-6, atol=1e-3, err_msg=path)


def test_generated_record_reads_back(record):
    path, signal = record
    r = ktxscp32.read(path)
    assert r.leads == ["I", "II", "III", "aVR", "aVL", "aVF", "V1", "V2", "V3", "V4", "V5", "V6"]
    assert r.rate == 500 and r.rhythm.dtype == np.float32 and r.rhythm.shape == (12, 5000)
    step = ktxscp32.read(path).rhythm  # the stored resolution bounds the rounding
    avm = show_json(path)["rhythm"]["avm_nv"] / 1000
    assert np.abs(step - signal).max() <= avm / 2 + 1e-3
    assert (r.patient.last_name, r.patient.first_name, r.patient.patient_id) == ("Doe", "Jane",
                                                                                  "P-17")
    assert str(r.patient.birth_date) == "1961-04-05" and r.patient.sex == "female"
    assert (r.patient.height_mm, r.patient.weight_g) == (1650, 61000)
    assert r.general.creator_app == "ktxscp32-python" and r.crc_valid is True
    assert r.reference_beats is None and r.qrs is None and r.statements == []
