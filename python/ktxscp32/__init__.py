"""ktxscp32: SCP-ECG records in Python, over the KTXSCP32 library.

read() loads a record (waveforms as numpy arrays in microvolts), create() writes one
from an array, edit() and derive() change one, analyze() runs the analysis engine on
one in place, check() verifies its CRCs. Failures raise ScpError with the library's
Win32 error code; wrong arrays raise ValueError. ktxscp32.archive analyses many files
with Dask.
"""
from __future__ import annotations

import dataclasses
import datetime as _dt
import os
import warnings
from typing import Any, Dict, Mapping, Optional, Sequence, Union

import numpy as np

from ._errors import ScpError, ScpWarning
from ._record import General, Patient, Record, Recording, record_from_core
from . import _core

__all__ = ["ScpError", "ScpWarning", "Record", "Patient", "Recording", "General", "AnalysisResult",
           "read", "create", "edit", "derive", "analyze", "check", "LANGUAGES"]

LANGUAGES = ("en", "fr", "de", "it", "es", "pt", "ja")
PathLike = Union[str, "os.PathLike[str]"]

_SEX_CODES = {"unknown": 0, "male": 1, "female": 2, "unspecified": 9}
_TEXT_FIELDS = ("comment", "interpretation", "location", "recording_id", "recording_app",
                "recording_version", "interpretation_app", "interpretation_version",
                "overreading_physician", "interpretation_physician", "recording_physician")


@dataclasses.dataclass
class AnalysisResult:
    """What analyze() did: the engine's result code with its name and text, and the
    record as it then is (None unless the analysis succeeded)."""

    result: int
    name: str
    text: str
    record: Optional[Record]

    @property
    def ok(self) -> bool:
        return self.result == 0


def read(path: PathLike, language: str = "en") -> Record:
    """The record at `path`; statement texts in `language`. A section the file lists
    but that does not read gives a ScpWarning and is named in ``unread_sections``."""
    record = record_from_core(_core.read(os.fspath(path), language))
    for item in record.unread_sections:
        warnings.warn(
            f"{record.path}: Section {item['section']} (at byte {item['byte']}) could not be "
            f"read: error {item['code']} {item['message']}",
            ScpWarning,
            stacklevel=2,
        )
    return record


def _patient_fields(patient: Union[Patient, Mapping[str, Any], None]) -> Optional[Dict[str, Any]]:
    if patient is None:
        return None
    fields = dict(dataclasses.asdict(patient) if isinstance(patient, Patient) else patient)
    birth = fields.pop("birth_date", None)
    if isinstance(birth, str):
        birth = _dt.date.fromisoformat(birth)
    if birth is not None:
        fields["birth"] = (birth.year, birth.month, birth.day)
    sex = fields.pop("sex", None)
    if sex is not None and "sex_code" not in fields:
        if sex not in _SEX_CODES:
            raise ValueError(f"sex must be one of {sorted(_SEX_CODES)}")
        fields["sex_code"] = _SEX_CODES[sex]
    return fields


def _lead_codes(leads: Sequence[Union[str, int]]) -> list:
    return [lead if isinstance(lead, int) else _core.lead_code(lead) for lead in leads]


def create(path: PathLike, rhythm_uv: Any, rate: float, leads: Sequence[Union[str, int]],
           patient: Union[Patient, Mapping[str, Any], None] = None, avm: int = 0) -> Dict[str, int]:
    """Writes a new record from `rhythm_uv` (leads x samples, microvolts, NaN for an
    invalid sample) at `rate` Hz, lead names (or codes) in row order. Samples are
    scaled as `scpecg import` scales them (AVM chosen unless given, marker values
    avoided); answers the AVM and the counts of moved and invalid samples."""
    array = np.asarray(rhythm_uv)
    if array.ndim != 2:
        raise ValueError(f"rhythm_uv must be 2-D (leads x samples), not {array.ndim}-D")
    if array.dtype.kind not in "fiu":
        raise ValueError(f"rhythm_uv must hold real numbers, not {array.dtype}")
    if len(leads) != array.shape[0]:
        raise ValueError(f"{len(leads)} lead names for {array.shape[0]} rows")
    data = np.ascontiguousarray(array, dtype=np.float64)
    return _core.create(os.fspath(path), data, float(rate), _lead_codes(leads),
                        _patient_fields(patient), int(avm))


def edit(path: PathLike, *, confirmed: Optional[bool] = None,
         received: Optional[_dt.datetime] = None,
         patient: Union[Patient, Mapping[str, Any], None] = None, **texts: Optional[str]) -> None:
    """Changes header fields in place, one rewrite each: the texts (comment,
    interpretation, location, recording_id, the applications and versions, and the
    overreading, interpretation and recording physicians; "" clears one), whether the
    interpretation is confirmed, the received date and time, and patient fields (those
    given; the others keep the file's values)."""
    file = os.fspath(path)
    unknown = set(texts) - set(_TEXT_FIELDS)
    if unknown:
        raise TypeError(f"edit() got unknown fields {sorted(unknown)}")
    for field in _TEXT_FIELDS:
        if field in texts:
            _core.edit_text(file, field, texts[field] or None)
    if confirmed is not None:
        _core.edit_confirmed(file, bool(confirmed))
    if received is not None:
        r = received
        _core.edit_received(file, [r.year, r.month, r.day, r.hour, r.minute, r.second])
    if patient is not None:
        _core.edit_patient(file, _patient_fields(patient))


def derive(path: PathLike) -> None:
    """Adds the limb leads III, aVR, aVL and aVF computed from I and II, in place."""
    _core.derive(os.fspath(path))


def analyze(path: PathLike, language: str = "en", short: bool = False, text: bool = False,
            patient_warning: bool = False) -> AnalysisResult:
    """Runs the analysis engine on `path` and stores its results IN the file (it is
    rewritten in place: analyse a copy to keep the original). ScpError when the file
    cannot be opened or written; the engine's own outcomes are result codes."""
    file = os.fspath(path)
    outcome = _core.analyze(file, language, short, text, patient_warning)
    record = read(file, language) if outcome["result"] == 0 else None
    return AnalysisResult(outcome["result"], outcome["name"], outcome["text"], record)


def check(path: PathLike) -> bool:
    """The CRC verdict of `path`: True when every CRC holds."""
    return _core.check(os.fspath(path))
