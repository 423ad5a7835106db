#!/usr/bin/env python3
"""Turns `scpecg show --json FILE` (the native tool) into the lines objects_show.js prints
for the same file through the automation objects:
    scpecg show --json F | expected_from_json.py CLASSES > F.txt
CLASSES is the comma-separated list handed to objects_show.js as well."""
import json
import sys

d = json.load(sys.stdin)
wanted = set(sys.argv[1].split(","))
out = []


def put(key, value):
    if isinstance(value, bool):
        value = 1 if value else 0
    out.append(f"{key}={value}")


if "patient" in d and "patient" in wanted:
    p = d["patient"]
    for k in ("last_name", "first_name", "patient_id", "sex_code", "height_mm", "weight_g",
              "birth_date"):
        put("patient." + k, p[k])
if "recording" in d and "recording" in wanted:
    r = d["recording"]
    for k in ("acquisition_date", "acquisition_time", "device_id", "device_type",
              "serial_number", "program_revision"):
        put("recording." + k, r[k])
    for form, key in (("acquisition", "filters_at_acquisition"), ("data", "filters_on_data")):
        f = r[key]
        put(f"recording.{form}.baseline", f["baseline"])
        put(f"recording.{form}.muscle", f["muscle"])
        put(f"recording.{form}.power", f["power"])
if "general" in d and "general" in wanted:
    g = d["general"]
    for k in ("received", "interpretation_confirmed", "interpretation_modified",
              "interpretation_text", "comment", "overreading_physician",
              "interpretation_physician", "recording_physician", "recording_location",
              "recording_id", "interpretation_app", "interpretation_version", "recording_app",
              "recording_version", "creator_app", "creator_version", "modifier_app",
              "modifier_version"):
        put("general." + k, g[k])
if "lead_errors" in d and "lead_errors" in wanted:
    put("lead_errors.count", len(d["lead_errors"]))
    for i, e in enumerate(d["lead_errors"], 1):
        put(f"lead_errors.{i}", f'{e["code"]} {e["error_bits"]}')
if "lead_definitions" in d and "leads" in wanted:
    ld = d["lead_definitions"]
    put("leads.count", ld["count"])
    for i, lead in enumerate(ld["leads"], 1):
        put(f"leads.{i}", f'{lead["code"]} {lead["start_sample"]} {lead["end_sample"]}')
if "analysis" in d and "analysis" in wanted:
    a = d["analysis"]
    gm = a.get("global_measurements", {})
    for k in ("qrs_types", "pacemaker_spikes", "rr_ms", "pp_ms", "p_onset_ms", "p_offset_ms",
              "qrs_onset_ms", "qrs_offset_ms", "t_offset_ms", "p_axis", "qrs_axis", "t_axis"):
        if k in gm:
            put("analysis." + k, gm[k])
    for k in ("morphology_codes", "rhythm_codes"):
        if k in a:
            put(f"analysis.{k}", " ".join(str(c) for c in a[k]))
if "lead_measurements" in d and "measurements" in wanted:
    names = ("p_duration", "pr_interval", "qrs_duration", "qt_interval", "q_duration",
             "r_duration", "s_duration", "r_dash_duration", "s_dash_duration", "q_amplitude",
             "r_amplitude", "s_amplitude", "r_dash_amplitude", "s_dash_amplitude",
             "j_point_amplitude", "p_plus_amplitude", "p_minus_amplitude", "t_plus_amplitude",
             "t_minus_amplitude", "st_slope", "p_morphology", "t_morphology", "iso_electric_i",
             "iso_electric_k", "intrinsicoid_deflection", "recording_conditions",
             "st_j_plus_20", "st_j_plus_60", "st_j_plus_80")
    leads = d["lead_measurements"]["leads"]
    put("measurements.count", len(leads))
    for i, m in enumerate(leads, 1):
        put(f"measurements.{i}", " ".join(str(m[k]) for k in ("lead",) + names))
for key in ("rhythm", "reference_beats"):
    if key in d and key in wanted:
        s = d[key]
        put(f"{key}.avm", s["avm_nv"])
        put(f"{key}.interval", s["sample_interval_us"])
        for i, lead in enumerate(s["leads"], 1):
            put(f"{key}.{i}", f'{lead["samples"]} {lead["min"]} {lead["max"]}')
print("\n".join(out))
