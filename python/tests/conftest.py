"""Shared fixtures: the scpecg binary beside the package build, the shared sample
records, and generated records of a synthetic 12-lead ECG."""
import json
import os
import subprocess
import sys
import tempfile

import numpy as np
import pytest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BUILD = os.environ.get("KTX_BUILD_DIR", os.path.join(ROOT, "build", "gcc"))
SCPECG = os.environ.get("SCPECG", os.path.join(BUILD, "tools", "scpecg", "scpecg"))
SAMPLES = os.environ.get("KTX_SAMPLES_DIR", os.path.join(ROOT, "..", "shared", "samples"))
# The built package, for this process and for the Dask workers it starts.
_PACKAGE_ROOT = os.path.join(BUILD, "python")
if _PACKAGE_ROOT not in sys.path:
    sys.path.insert(0, _PACKAGE_ROOT)
    os.environ["PYTHONPATH"] = os.pathsep.join(
        p for p in (_PACKAGE_ROOT, os.environ.get("PYTHONPATH")) if p)

# The analyses' working copies go to a documents folder of the tests' own.
os.environ["HOME"] = tempfile.mkdtemp(prefix="ktxscp32-tests-")

LEADS = ["I", "II", "III", "aVR", "aVL", "aVF", "V1", "V2", "V3", "V4", "V5", "V6"]


def scpecg(*args, check=True):
    """Runs scpecg; answers (exit status, stdout)."""
    done = subprocess.run([SCPECG, *args], capture_output=True, text=True, check=False)
    if check and done.returncode != 0:
        raise AssertionError(f"scpecg {args}: {done.stderr}")
    return done.returncode, done.stdout


def show_json(path):
    return json.loads(scpecg("show", "--json", path)[1])


def synthetic_ecg(rate=500, seconds=10, heart_rate=72, seed=0):
    """12 leads of P, QRS and T waves (Gaussians) at `heart_rate`, microvolts, with a
    little noise; the limb leads obey Einthoven's and Goldberger's relations."""
    rng = np.random.default_rng(seed)
    t = np.arange(int(rate * seconds)) / rate
    beat = 60.0 / heart_rate
    phase = (t % beat)

    def wave(centre, width, height):
        return height * np.exp(-0.5 * ((phase - centre) / width) ** 2)

    base = wave(0.10, 0.02, 120) + wave(0.25, 0.010, 1100) - wave(0.235, 0.006, 150) \
        - wave(0.27, 0.008, 250) + wave(0.50, 0.045, 300)
    lead_i, lead_ii = 0.6 * base, base + rng.normal(0, 4, t.size)
    limb = [lead_i, lead_ii, lead_ii - lead_i, -(lead_i + lead_ii) / 2,
            lead_i - lead_ii / 2, lead_ii - lead_i / 2]
    chest = [base * g for g in (-0.5, -0.2, 0.4, 1.1, 1.3, 1.0)]
    return np.array(limb + chest, dtype=np.float32)


@pytest.fixture(scope="session")
def samples():
    folder = os.path.join(SAMPLES, "scp")
    if not os.path.isdir(folder):
        pytest.skip(f"no sample records at {folder}")
    return sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".scp"))


@pytest.fixture
def record(tmp_path):
    """A generated 12-lead record with a patient, and its signal."""
    import ktxscp32

    path = str(tmp_path / "generated.scp")
    signal = synthetic_ecg()
    ktxscp32.create(path, signal, 500, LEADS,
                    patient={"last_name": "Doe", "first_name": "Jane", "patient_id": "P-17",
                             "birth_date": "1961-04-05", "sex": "female", "height_mm": 1650,
                             "weight_g": 61000})
    return path, signal
