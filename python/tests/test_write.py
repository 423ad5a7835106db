"""create(), edit() and derive() change files as scpecg sees them; bad input raises
ScpError or ValueError, never crashes."""
import datetime as dt

import numpy as np
import pytest

import ktxscp32
from conftest import LEADS, show_json, synthetic_ecg


def test_edit_fields_as_scpecg_shows_them(record):
    path, _ = record
    ktxscp32.edit(path, comment="after exercise", location="ward 3", recording_physician="Dr Ho",
                  confirmed=True, received=dt.datetime(2024, 2, 29, 13, 5, 9),
                  patient={"last_name": "Roe", "weight_g": 70500})
    general, patient = show_json(path)["general"], show_json(path)["patient"]
    assert (general["comment"], general["recording_location"]) == ("after exercise", "ward 3")
    assert general["recording_physician"] == "Dr Ho" and general["interpretation_confirmed"]
    assert general["received"] == "2024-02-29 13:05:09"
    assert (patient["last_name"], patient["first_name"], patient["weight_g"]) == ("Roe", "Jane",
                                                                                70500)
    r = ktxscp32.read(path)
    assert r.general.received == dt.datetime(2024, 2, 29, 13, 5, 9)
    assert r.general.modifier_app == "ktxscp32-python" and ktxscp32.check(path)
    ktxscp32.edit(path, comment="")
    assert ktxscp32.read(path).general.comment == ""


def test_derive_adds_limb_leads(tmp_path):
    path = str(tmp_path / "two.scp")
    signal = synthetic_ecg()[:2]
    ktxscp32.create(path, signal, 500, ["I", "II"])
    ktxscp32.derive(path)
    r = ktxscp32.read(path)
    assert r.leads == ["I", "II", "III", "aVR", "aVL", "aVF"]
    i, ii = r.rhythm[0].astype(float), r.rhythm[1].astype(float)
    avm = show_json(path)["rhythm"]["avm_nv"] / 1000
    for derived, expected in zip(r.rhythm[2:], (ii - i, -(i + ii) / 2, i - ii / 2, ii - i / 2)):
        assert np.abs(derived - expected).max() <= avm  # one unit of rounding


def test_create_keeps_markers_off_and_nan_invalid(tmp_path):
    path = str(tmp_path / "m.scp")
    # 2033 goes to the side its unrounded value lies on
    signal = np.array([[2032.0, 2032.9, 2033.4, 2034.0, np.nan, -5.0]])
    scaling = ktxscp32.create(path, signal, 250, [1], avm=1000)
    assert scaling == {"avm_nv": 1000, "moved_samples": 4, "invalid_samples": 1}
    assert ktxscp32.read(path).rhythm[0].tolist() == [2031, 2031, 2035, 2035, 2032, -5]


@pytest.mark.parametrize("rhythm, leads, message", [
    (np.zeros(100), ["I"], "2-D"),
    (np.zeros((1, 2, 3)), ["I"], "2-D"),
    (np.zeros((2, 100), dtype=complex), ["I", "II"], "real"),
    (np.array([["a", "b"]]), ["I"], "real"),
    (np.zeros((2, 100)), ["I"], "lead names"),
])
def test_create_refuses_wrong_arrays(tmp_path, rhythm, leads, message):
    with pytest.raises(ValueError, match=message):
        ktxscp32.create(str(tmp_path / "x.scp"), rhythm, 500, leads)


def test_bad_files_raise_scp_error(tmp_path, record):
    path, _ = record
    text = tmp_path / "notes.txt"
    text.write_text("not an ECG at all, just some words\n" * 10)
    truncated = tmp_path / "cut.scp"
    truncated.write_bytes(open(path, "rb").read()[:300])
    missing = str(tmp_path / "missing.scp")
    for bad, code in ((missing, 2), (str(text), None), (str(truncated), None)):
        for call in (ktxscp32.read, ktxscp32.check, ktxscp32.derive):
            with pytest.raises(ktxscp32.ScpError) as caught:
                call(bad)
            assert caught.value.code != 0 and (code is None or caught.value.code == code)
    with pytest.raises(ktxscp32.ScpError) as caught:
        ktxscp32.analyze(missing)
    assert caught.value.code == 2
    with pytest.raises(ktxscp32.ScpError):
        ktxscp32.edit(missing, comment="x")
    with pytest.raises(ktxscp32.ScpError):  # a rate no record can state
        ktxscp32.create(str(tmp_path / "r.scp"), np.zeros((1, 10)), 1e7, ["I"])
    with pytest.raises(ValueError):
        ktxscp32.read(path, language="xx")


def test_unreadable_section_is_named(tmp_path):
    path = str(tmp_path / "damaged.scp")
    ktxscp32.create(path, synthetic_ecg()[:2], 500, ["I", "II"])
    data = bytearray(open(path, "rb").read())
    # Section 0's entries (id, length, 1-based index) follow the 6-byte record header and
    # Section 0's own 16-byte header.
    index = next(int.from_bytes(data[e + 6:e + 10], "little") for e in range(22, 142, 10)
                 if int.from_bytes(data[e:e + 2], "little") == 3)
    data[index - 1 + 16] = 9  # nine leads in a Section 3 that describes two
    open(path, "wb").write(data)
    with pytest.warns(ktxscp32.ScpWarning, match=rf"Section 3 \(at byte {index}\)"):
        r = ktxscp32.read(path)
    assert r.leads == [] and r.unread_sections[0]["section"] == 3
    assert (r.unread_sections[0]["byte"], r.unread_sections[0]["code"]) == (index, 13)
    with pytest.raises(ktxscp32.ScpError, match=rf"in Section 3, at byte {index}") as caught:
        ktxscp32.derive(path)
    assert caught.value.code == 13
