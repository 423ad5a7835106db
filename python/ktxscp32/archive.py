"""Archive-scale analysis on Dask: one row per file, on a cluster or on local threads.

The analysis rewrites each file in place with its results; give ``copy_to`` to analyse
copies there and leave the archive untouched.
"""
from __future__ import annotations

import glob
import math
import os
import shutil
from typing import Any, Dict, Iterable, List, Optional, Union

from ._errors import ScpError

# The columns of the table, in order.
COLUMNS = ["path", "analysed", "result", "result_name", "heart_rate", "pr_ms", "qrs_ms",
           "qt_ms", "qtc_ms", "p_axis", "qrs_axis", "t_axis", "statements", "codes", "error"]
_UNDEFINED_MS = 29999  # a global measurement the analysis could not make
_UNDEFINED_AXIS = 999


def _paths(paths_or_glob: Union[str, os.PathLike, Iterable[Union[str, os.PathLike]]]) -> List[str]:
    if isinstance(paths_or_glob, (str, os.PathLike)):
        pattern = os.fspath(paths_or_glob)
        if os.path.isdir(pattern):
            pattern = os.path.join(pattern, "**", "*")
        return sorted(p for p in glob.glob(pattern, recursive=True) if os.path.isfile(p))
    return [os.fspath(p) for p in paths_or_glob]


def _copy_names(paths: List[str], copy_to: str) -> List[str]:
    """A name in copy_to per file: its own, numbered when two files share one."""
    used: Dict[str, int] = {}
    out = []
    for path in paths:
        stem, ext = os.path.splitext(os.path.basename(path))
        n = used.get(stem + ext, 0)
        used[stem + ext] = n + 1
        out.append(os.path.join(copy_to, f"{stem}_{n}{ext}" if n else stem + ext))
    return out


def _interval(end: int, start: int) -> float:
    if start in (0, _UNDEFINED_MS) or end in (0, _UNDEFINED_MS) or end < start:
        return math.nan
    return float(end - start)


def _row(path: str, analysed: str, language: str, short: bool) -> Dict[str, Any]:
    """Analyses one file; any failure becomes the row's error."""
    from . import analyze  # imported here so that workers import the package lazily

    row: Dict[str, Any] = dict.fromkeys(COLUMNS, math.nan)
    row.update(path=path, analysed=analysed, result=None, result_name="", statements="",
               codes=[], error="")
    try:
        if analysed != path:
            shutil.copyfile(path, analysed)
        outcome = analyze(analysed, language=language, short=short)
        row.update(result=outcome.result, result_name=outcome.name)
        if not outcome.ok or outcome.record is None:
            row["error"] = outcome.text
            return row
        g = outcome.record.global_measurements or {}
        rr = g.get("rr_ms", 0)
        if rr not in (0, _UNDEFINED_MS):
            row["heart_rate"] = 60000.0 / rr
        row["pr_ms"] = _interval(g.get("qrs_onset_ms", 0), g.get("p_onset_ms", 0))
        row["qrs_ms"] = _interval(g.get("qrs_offset_ms", 0), g.get("qrs_onset_ms", 0))
        row["qt_ms"] = _interval(g.get("t_offset_ms", 0), g.get("qrs_onset_ms", 0))
        if not math.isnan(row["qt_ms"]) and rr not in (0, _UNDEFINED_MS):
            row["qtc_ms"] = row["qt_ms"] / math.sqrt(rr / 1000.0)  # Bazett
        for axis in ("p_axis", "qrs_axis", "t_axis"):
            value = g.get(axis, _UNDEFINED_AXIS)
            row[axis] = math.nan if value == _UNDEFINED_AXIS else float(value)
        statements = outcome.record.statements
        row["statements"] = "; ".join(s["text"] or str(s["code"]) for s in statements)
        row["codes"] = [s["code"] for s in statements]
    except ScpError as error:
        row.update(error=str(error), result=None)
    except Exception as error:  # noqa: BLE001 - a bad file gives a row, never a failed job
        row.update(error=f"{type(error).__name__}: {error}", result=None)
    return row


def _rows(batch: List[tuple], language: str, short: bool) -> List[Dict[str, Any]]:
    return [_row(path, analysed, language, short) for path, analysed in batch]


def _summary(path: str) -> Dict[str, Any]:
    """What a file holds, read only; a file that does not read gives its error."""
    from . import read

    row: Dict[str, Any] = dict.fromkeys(SUMMARY_COLUMNS, math.nan)
    row.update(path=path, patient_id="", leads=[], acquired=None, crc_valid=None, encoding="",
               analysed=False, error="")
    try:
        r = read(path)
        row.update(patient_id=r.patient.patient_id, leads=r.leads, rate=r.rate,
                   acquired=r.recording.acquired, crc_valid=r.crc_valid, encoding=r.encoding,
                   analysed=r.global_measurements is not None)
        if r.rate:
            row["seconds"] = r.rhythm.shape[1] / r.rate
    except ScpError as error:
        row["error"] = str(error)
    except Exception as error:  # noqa: BLE001 - a bad file gives a row, never a failed job
        row["error"] = f"{type(error).__name__}: {error}"
    return row


def _summaries(batch: List[str]) -> List[Dict[str, Any]]:
    return [_summary(path) for path in batch]


SUMMARY_COLUMNS = ["path", "patient_id", "leads", "rate", "seconds", "acquired", "crc_valid",
                   "encoding", "analysed", "error"]


def _run(task: Any, batches: List[list], args: tuple, client: Any, progress: bool,
         scheduler: str) -> List[Dict[str, Any]]:
    """`task(batch, *args)` over the batches on the client or Dask's local scheduler; the
    rows in input order."""
    import dask

    tasks = [dask.delayed(task, pure=False)(batch, *args) for batch in batches]
    if client is not None:
        futures = client.compute(tasks)
        if progress:
            from distributed import progress as show_progress
            show_progress(futures)
        results = client.gather(futures)
    elif progress:
        from dask.diagnostics import ProgressBar
        with ProgressBar():
            results = dask.compute(*tasks, scheduler=scheduler)
    else:
        results = dask.compute(*tasks, scheduler=scheduler)
    return [row for batch in results for row in batch]


def _batches(items: list, size: int) -> List[list]:
    return [items[i:i + size] for i in range(0, len(items), size)]


def analyze_archive(paths_or_glob: Union[str, os.PathLike, Iterable[Union[str, os.PathLike]]],
                    client: Any = None, language: str = "en", copy_to: Optional[str] = None,
                    short: bool = False, batch_size: int = 16, progress: bool = True,
                    scheduler: str = "threads") -> "Any":
    """Analyses every file and answers a pandas DataFrame, one row per file (COLUMNS).

    `paths_or_glob`: a glob pattern ("archive/**/*.scp"), a folder (every file below
    it) or an iterable of paths. `client`: a distributed.Client (a LocalCluster's or
    one connected to a scheduler address); without one Dask's local `scheduler` runs
    the analyses: "threads" (the engine releases the GIL) or "synchronous" (one by
    one). Files are analysed in place unless `copy_to` names a folder to copy them into
    first. Files go to the workers in batches of `batch_size`; `progress` shows Dask's
    progress bar.
    """
    import pandas as pd

    paths = _paths(paths_or_glob)
    if copy_to is not None:
        os.makedirs(copy_to, exist_ok=True)
        targets = _copy_names(paths, os.fspath(copy_to))
    else:
        targets = paths
    batches = _batches(list(zip(paths, targets)), batch_size)
    rows = _run(_rows, batches, (language, short), client, progress, scheduler)
    return pd.DataFrame(rows, columns=COLUMNS)


def summarize_archive(paths_or_glob: Union[str, os.PathLike, Iterable[Union[str, os.PathLike]]],
                      client: Any = None, batch_size: int = 64, progress: bool = True,
                      scheduler: str = "threads") -> "Any":
    """What every file holds, read only, as a DataFrame (SUMMARY_COLUMNS): patient id,
    leads, rate, length in seconds, acquisition time, CRC verdict, compression, whether
    it was analysed, error. Runs as analyze_archive does."""
    import pandas as pd

    batches = _batches(_paths(paths_or_glob), batch_size)
    rows = _run(_summaries, batches, (), client, progress, scheduler)
    return pd.DataFrame(rows, columns=SUMMARY_COLUMNS)
