"""Record and its parts: the header records with dates as datetime, waveforms as numpy."""
from __future__ import annotations

import dataclasses
import datetime as _dt
from typing import Any, Dict, List, Optional

import numpy as np


def _date(text: str) -> Optional[_dt.date]:
    """'YYYY-MM-DD' as a date; None for an unset (or impossible) date."""
    try:
        return _dt.date.fromisoformat(text)
    except ValueError:
        return None


def _datetime(date: str, time: str) -> Optional[_dt.datetime]:
    try:
        return _dt.datetime.fromisoformat(f"{date} {time}")
    except ValueError:
        return None


@dataclasses.dataclass
class Patient:
    last_name: str = ""
    first_name: str = ""
    patient_id: str = ""
    birth_date: Optional[_dt.date] = None
    sex: str = "unknown"
    sex_code: int = 0
    height_mm: int = 0
    weight_g: int = 0

    @classmethod
    def _from_core(cls, d: Dict[str, Any]) -> "Patient":
        return cls(**{**d, "birth_date": _date(d["birth_date"])})


@dataclasses.dataclass
class Recording:
    acquired: Optional[_dt.datetime] = None
    device_id: int = 0
    device_type: str = ""
    serial_number: str = ""
    program_revision: str = ""
    baseline_cutoff_hz: float = 0.0
    muscle_cutoff_hz: int = 0
    filters_at_acquisition: Dict[str, Any] = dataclasses.field(default_factory=dict)
    filters_on_data: Dict[str, Any] = dataclasses.field(default_factory=dict)

    @classmethod
    def _from_core(cls, d: Dict[str, Any]) -> "Recording":
        d = dict(d)
        acquired = _datetime(d.pop("acquisition_date"), d.pop("acquisition_time"))
        return cls(acquired=acquired, **d)


@dataclasses.dataclass
class General:
    received: Optional[_dt.datetime] = None
    interpretation_confirmed: bool = False
    interpretation_modified: bool = False
    interpretation_text: str = ""
    comment: str = ""
    overreading_physician: str = ""
    interpretation_physician: str = ""
    recording_physician: str = ""
    recording_location: str = ""
    recording_id: str = ""
    interpretation_app: str = ""
    interpretation_version: str = ""
    recording_app: str = ""
    recording_version: str = ""
    creator_app: str = ""
    creator_version: str = ""
    modifier_app: str = ""
    modifier_version: str = ""

    @classmethod
    def _from_core(cls, d: Dict[str, Any]) -> "General":
        date, _, time = d["received"].partition(" ")
        return cls(**{**d, "received": _datetime(date, time)})


@dataclasses.dataclass
class Record:
    """One SCP-ECG record as ktxscp32.read gives it.

    ``rhythm`` and ``reference_beats`` are float32 arrays, leads x samples, in
    microvolts (compressed records decoded); lead-error marker samples (2032-2034
    units) are scaled like the others, as ``scpecg export`` writes them, and
    ``lead_errors`` says where they are. A section the file lacks leaves its
    attribute empty (None, [] or {}); a section the file lists but that does not
    read is left empty too, named in ``unread_sections`` (section, byte it starts
    at, error code, message) and in a ScpWarning.
    """

    path: str
    patient: Patient
    recording: Recording
    general: General
    leads: List[str]
    lead_codes: List[int]
    rate: Optional[float]
    rhythm: np.ndarray
    reference_beats: Optional[np.ndarray]
    reference_beats_rate: Optional[float]
    qrs: Optional[Dict[str, Any]]
    global_measurements: Optional[Dict[str, int]]
    lead_measurements: Dict[str, Dict[str, int]]
    statements: List[Dict[str, Any]]
    lead_errors: List[Dict[str, Any]]
    crc_valid: Optional[bool]
    encoding: str = ""
    unread_sections: List[Dict[str, Any]] = dataclasses.field(default_factory=list)

    @property
    def interpretation(self) -> str:
        return self.general.interpretation_text

    def to_pandas(self) -> "Any":
        """The lead measurements as a DataFrame (one row per lead); the global
        measurements ride along in ``attrs["global_measurements"]``."""
        import pandas as pd

        frame = pd.DataFrame.from_dict(self.lead_measurements, orient="index")
        frame.index.name = "lead"
        frame.attrs["global_measurements"] = dict(self.global_measurements or {})
        return frame


def _rate(interval_us: Optional[int]) -> Optional[float]:
    return 1e6 / interval_us if interval_us else None


def _lead_measurements(d: Optional[Dict[str, Any]]) -> Dict[str, Dict[str, int]]:
    out: Dict[str, Dict[str, int]] = {}
    for item in (d or {}).get("leads", []):
        values = {k: v for k, v in item.items() if k != "label"}
        label, n = item["label"], 2
        while label in out:  # the same lead twice: "V1#2"
            label, n = f"{item['label']}#{n}", n + 1
        out[label] = values
    return out


def record_from_core(d: Dict[str, Any]) -> Record:
    definitions = d.get("lead_definitions", {}).get("leads", [])
    rhythm = d.get("rhythm")
    return Record(
        path=d["file"],
        patient=Patient._from_core(d["patient"]) if "patient" in d else Patient(),
        recording=Recording._from_core(d["recording"]) if "recording" in d else Recording(),
        general=General._from_core(d["general"]) if "general" in d else General(),
        leads=[lead["label"] for lead in definitions],
        lead_codes=[lead["code"] for lead in definitions],
        rate=_rate(d.get("rhythm_interval_us")),
        rhythm=rhythm if rhythm is not None else np.zeros((0, 0), np.float32),
        reference_beats=d.get("reference_beats"),
        reference_beats_rate=_rate(d.get("reference_beats_interval_us")),
        qrs=d.get("qrs"),
        global_measurements=d.get("global_measurements"),
        lead_measurements=_lead_measurements(d.get("lead_measurements")),
        statements=d.get("statements", []),
        lead_errors=d.get("lead_errors", []),
        crc_valid=d["crc_valid"],
        encoding=d["encoding"],
        unread_sections=d["unread_sections"],
    )
