#include "synthetic_ecg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace synth {

namespace {

constexpr double kPi = 3.14159265358979323846;

Vector3 Unit(double x, double y, double z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  return {x / length, y / length, z / length};
}

// One component of a beat: a Gaussian bump of `Millivolts` along `Direction`, centred
// `Centre` seconds after the QRS onset; `Fall` is the width after the centre when the
// bump is lopsided (the T wave falls faster than it rises).
struct Wave {
  double Centre;
  double Rise;
  double Fall;
  double Millivolts;
  Vector3 Direction;
};

const Wave kWaves[] = {
    {-0.130, 0.022, 0.022, 0.14, Unit(0.6, 0.75, 0.15)},    // P: atria, left and down
    {0.012, 0.007, 0.007, 0.18, Unit(-0.55, 0.2, 0.8)},     // septum, right and forward
    {0.035, 0.010, 0.010, 0.90, Unit(0.45, 0.55, 0.7)},     // apex, left, down, forward
    {0.052, 0.011, 0.011, 1.30, Unit(0.8, 0.45, -0.4)},     // free wall, left and back
    {0.076, 0.010, 0.010, 0.45, Unit(-0.35, -0.4, -0.85)},  // base, up and back
    {0.300, 0.060, 0.040, 0.35, Unit(0.7, 0.55, 0.45)},     // T: repolarisation
};

// Beats start about 70 times a minute; the RR interval swings slowly with breathing.
constexpr double kMeanRR = 60.0 / 70.0;
constexpr double kFirstOnset = 0.25;  // leaves room for the first P wave

double RR(int beat) {
  return kMeanRR + 0.025 * std::sin(2 * kPi * beat / 5.0);
}

double Bump(const Wave& wave, double t) {
  const double width = t < wave.Centre ? wave.Rise : wave.Fall;
  const double z = (t - wave.Centre) / width;
  return wave.Millivolts * std::exp(-0.5 * z * z);
}

// A small noise that is the same on every run: a hash of the sample time.
double Noise(double seconds) {
  auto bits = static_cast<uint32_t>(std::llround(seconds * 100000.0));
  bits ^= bits >> 16;
  bits *= 0x45D9F3Bu;
  bits ^= bits >> 16;
  return (static_cast<double>(bits % 2001u) - 1000.0) / 1000.0;  // -1 to 1
}

Vector3 Direction(Lead lead) {
  auto frontal = [](double degrees) {
    const double a = degrees * kPi / 180.0;
    return Vector3{std::cos(a), std::sin(a), 0.0};
  };
  // Chest leads: angle from the left side towards the front, and a gain for nearness.
  auto chest = [](double degrees, double gain) {
    const double a = degrees * kPi / 180.0;
    const double down = degrees < 60 ? 0.1 : 0.0;  // V4 to V6 sit a little lower
    return Vector3{gain * std::cos(a), gain * down, gain * std::sin(a)};
  };
  const Vector3 one = frontal(0);
  const Vector3 two = frontal(60);
  switch (lead) {
    case kI:
      return one;
    case kII:
      return two;
    case kIII:
      return {two.X - one.X, two.Y - one.Y, two.Z - one.Z};
    case kAVR:
      return {-(one.X + two.X) / 2, -(one.Y + two.Y) / 2, -(one.Z + two.Z) / 2};
    case kAVL:
      return {one.X - two.X / 2, one.Y - two.Y / 2, one.Z - two.Z / 2};
    case kAVF:
      return {two.X - one.X / 2, two.Y - one.Y / 2, two.Z - one.Z / 2};
    case kV1:
      return chest(115, 1.0);
    case kV2:
      return chest(95, 1.5);
    case kV3:
      return chest(75, 1.7);
    case kV4:
      return chest(55, 1.6);
    case kV5:
      return chest(30, 1.3);
    case kV6:
      break;
  }
  return chest(0, 1.0);
}

}  // namespace

Vector3 HeartVector(double seconds) {
  Vector3 sum{0, 0, 0};
  // Only the beats whose waves reach this moment contribute.
  int beat = 0;
  for (double onset = kFirstOnset; onset - 0.3 < seconds; onset += RR(beat++)) {
    const double t = seconds - onset;
    if (t > 0.6) continue;
    for (const Wave& wave : kWaves) {
      const double size = Bump(wave, t);
      sum.X += size * wave.Direction.X;
      sum.Y += size * wave.Direction.Y;
      sum.Z += size * wave.Direction.Z;
    }
  }
  // Breathing moves the heart a little: a slow drift, mostly up and down.
  const double drift = 0.06 * std::sin(2 * kPi * 0.25 * seconds);
  sum.X += 0.3 * drift;
  sum.Y += drift;
  const double noise = 0.008 * Noise(seconds);
  sum.X += noise;
  sum.Y -= noise;
  sum.Z += noise;
  return sum;
}

double LeadMillivolts(Lead lead, double seconds) {
  const Vector3 heart = HeartVector(seconds);
  const Vector3 d = Direction(lead);
  return heart.X * d.X + heart.Y * d.Y + heart.Z * d.Z;
}

std::vector<int> LeadCounts(Lead lead, double rate, double start, int count, double nanovolts,
                            int low, int high) {
  std::vector<int> counts;
  counts.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double value = LeadMillivolts(lead, start + i / rate) * 1e6 / nanovolts;
    counts.push_back(std::clamp(static_cast<int>(std::lround(value)), low, high));
  }
  return counts;
}

}  // namespace synth
