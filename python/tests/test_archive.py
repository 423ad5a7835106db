"""analyze() stores what scpecg analyze stores; analyze_archive gives the same table on
a two-worker LocalCluster as on the threaded scheduler, with a row per failing file."""
import os
import shutil

import numpy as np
import pandas as pd
import pytest

import ktxscp32
from ktxscp32.archive import analyze_archive, summarize_archive
from conftest import LEADS, scpecg, show_json, synthetic_ecg


def test_analyze_stores_what_scpecg_analyze_stores(record, tmp_path):
    path, _ = record
    copy = str(tmp_path / "cli.scp")
    shutil.copyfile(path, copy)
    outcome = ktxscp32.analyze(path)
    assert (outcome.result, outcome.name, outcome.ok) == (0, "ResultIsSuccess", True)
    scpecg("analyze", "--in-place", copy)
    shown, r = show_json(copy), outcome.record
    assert r.global_measurements == shown["analysis"]["global_measurements"]
    assert [s["code"] for s in r.statements] == (shown["analysis"]["rhythm_codes"]
                                                 + shown["analysis"]["morphology_codes"])
    assert len(r.lead_measurements) == len(shown["lead_measurements"]["leads"])
    assert r.lead_measurements["V5"] == {k: v for k, v in shown["lead_measurements"]["leads"][10]
                                         .items() if k != "label"}
    assert r.reference_beats.shape[0] == 12 and len(r.qrs["fiducial"]) >= 10
    frame = r.to_pandas()
    assert frame.loc["II", "qrs_duration"] == r.lead_measurements["II"]["qrs_duration"]
    assert 60000 / r.global_measurements["rr_ms"] == pytest.approx(72, abs=1)


@pytest.fixture(scope="module")
def archive(tmp_path_factory):
    folder = tmp_path_factory.mktemp("archive")
    for i in range(19):
        ktxscp32.create(str(folder / f"ecg{i:02d}.scp"), synthetic_ecg(heart_rate=50 + 3 * i,
                                                                     seed=i), 500, LEADS)
    (folder / "ecg19.scp").write_bytes(b"SCP?" * 40)  # not a record: a row with its error
    return folder


def test_archive_on_threads_and_local_cluster_equals_sequential_run(archive, tmp_path):
    distributed = pytest.importorskip("distributed")
    sequential = analyze_archive(str(archive / "*.scp"), copy_to=str(tmp_path / "a"),
                                 progress=False, scheduler="synchronous")
    assert len(sequential) == 20 and os.path.getsize(archive / "ecg00.scp") < os.path.getsize(
        tmp_path / "a" / "ecg00.scp")  # the archive itself stays as it was
    assert (sequential["result"].iloc[:19] == 0).all() and sequential["error"].iloc[19]
    assert np.allclose(sequential["heart_rate"].iloc[:19], 50 + 3 * np.arange(19), atol=1.5)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, \
            distributed.Client(cluster) as client:
        clustered = analyze_archive(str(archive / "*.scp"), client=client,
                                    copy_to=str(tmp_path / "b"), batch_size=4, progress=False)
    threaded = analyze_archive([str(archive / f"ecg{i:02d}.scp") for i in range(20)],
                               copy_to=str(tmp_path / "c"), batch_size=1, progress=False)
    drop = ["analysed"]
    for table in (clustered, threaded):
        pd.testing.assert_frame_equal(sequential.drop(columns=drop), table.drop(columns=drop))


def test_summary_of_the_archive(archive, samples):
    table = summarize_archive([*sorted(str(p) for p in archive.iterdir()), *samples],
                              progress=False)
    assert table["seconds"].iloc[0] == 10 and table["leads"].iloc[0][6] == "V1"
    assert not table["analysed"].iloc[0] and table["crc_valid"].iloc[0]
    refused = table["error"] != ""
    assert refused.sum() == 1 + sum(scpecg("show", s, check=False)[0] != 0 for s in samples)
