#include "plot/paper_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "platform/errors.h"
#include "plot/lead_arrangement.h"
#include "record/codes.h"
#include "record/lead_labels.h"

namespace scpecg::plot {

namespace {

constexpr double kMargin = 10.0;
constexpr double kMinWidth = 210.0;  // room for the header beside a short record
constexpr double kHeaderSize = 3.0;
constexpr double kHeaderLine = 4.5;
constexpr double kLabelSize = 3.5;
constexpr double kGap = 4.0;        // between header and grid
constexpr double kFooterGap = 6.0;  // grid bottom to footer baseline
constexpr double kPulseSeconds = 0.2;
constexpr double kPulseLeadIn = 5.0;  // mm of baseline either side of the pulse
constexpr double kTickHalf = 2.5;
constexpr double kDefaultSeconds = 10.0;

// Rows wide enough for about four millivolts, on whole 10 mm so baselines sit on a
// thick line.
double RowPitch(double gain) {
  return std::max(30.0, 4.0 * gain);
}

double RoundUp(double value, double step) {
  return std::ceil(value / step - 1e-9) * step;
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Breaks a line at spaces so that it fits `width` characters.
void Wrap(const std::string& line, size_t width, std::vector<std::string>* out) {
  std::string rest = line;
  while (rest.size() > width) {
    size_t cut = rest.rfind(' ', width);
    if (cut == std::string::npos || cut == 0) cut = width;
    out->push_back(rest.substr(0, cut));
    rest.erase(0, rest[cut] == ' ' ? cut + 1 : cut);
  }
  out->push_back(rest);
}

struct LeadData {
  const int16_t* Samples = nullptr;
  unsigned Count = 0;
  double Offset = 0;  // samples from the start of the recording to the lead's first
  uint8_t Code = 0;
  int Baseline = 0;  // sample value drawn on the row's baseline
};

int MedianOf(const int16_t* samples, unsigned count) {
  if (samples == nullptr || count == 0) return 0;
  std::vector<int16_t> sorted(samples, samples + count);
  std::nth_element(sorted.begin(), sorted.begin() + count / 2, sorted.end());
  return sorted[count / 2];
}

std::vector<LeadData> Leads(const PlotSource& source) {
  const SEncodedData& data = *source.Data;
  const SLeadDefinitions* defs = source.Leads;
  const bool defined = defs != nullptr && defs->Leads != nullptr;
  const uint32_t first = defined ? defs->GetMinSample() : 0;
  std::vector<LeadData> leads(data.LeadCount);
  for (unsigned i = 0; i < data.LeadCount; ++i) {
    if (data.LeadSamples != nullptr && data.SampleCounts != nullptr) {
      leads[i].Samples = data.LeadSamples[i];
      leads[i].Count = leads[i].Samples != nullptr ? data.SampleCounts[i] : 0;
      if (source.Centred) leads[i].Baseline = MedianOf(leads[i].Samples, leads[i].Count);
    }
    if (defined && i < defs->Count) {
      leads[i].Code = defs->Leads[i].LeadId;
      // Rhythm leads may start later than others; reference beats are aligned.
      if (source.Rhythm && defs->Leads[i].StartSample > first) {
        leads[i].Offset = defs->Leads[i].StartSample - first;
      }
    }
  }
  return leads;
}

bool Fail(uint32_t code, const std::string& reason, std::string* problem) {
  *problem = reason;
  plat::SetLastError(code);
  return false;
}

// The trace of one panel: the samples in [t0, t1) s of the recording, broken at
// lead-off markers when the data is rhythm.
void AddTrace(const LeadData& lead, const PlotSource& source, const PlotOptions& options, double t0,
              double t1, Point origin, Sheet* sheet) {
  const double interval = source.Data->SampleInterval / 1e6;
  const double first = std::max(0.0, std::ceil(t0 / interval - lead.Offset - 1e-9));
  const double end = std::min<double>(lead.Count, std::ceil(t1 / interval - lead.Offset - 1e-9));
  Polyline line{LeadLabel(lead.Code), {}};
  auto flush = [&] {
    if (!line.Points.empty()) sheet->Traces.push_back(line);
    line.Points.clear();
  };
  for (auto k = static_cast<unsigned>(first); k < end; ++k) {
    const int value = lead.Samples[k];
    if (source.Rhythm && source.Markers && IsLeadErrorMarker(value)) {
      flush();
      continue;
    }
    const double x = origin.X + ((lead.Offset + k) * interval - t0) * options.Speed;
    const double y = AmplitudeMm(value - lead.Baseline, source.Data->AVM, options.Gain);
    line.Points.push_back({x, origin.Y - y});
  }
  flush();
}

}  // namespace

double AmplitudeMm(int sample, unsigned avmNanovolts, double gainMmPerMv) {
  return sample * (avmNanovolts / 1e6) * gainMmPerMv;
}

bool BuildSheet(const PlotSource& source, const PlotOptions& options, Sheet* sheet,
                std::string* problem) {
  *sheet = Sheet{};
  if (source.Data == nullptr || source.Data->LeadCount == 0) {
    return Fail(plat::kErrNoData, "no sample data", problem);
  }
  const SEncodedData& data = *source.Data;
  if (data.SampleInterval == 0) return Fail(plat::kErrInvalidData, "sample interval 0", problem);
  if (data.AVM == 0) return Fail(plat::kErrInvalidData, "amplitude multiplier (AVM) 0", problem);

  const std::vector<LeadData> leads = Leads(source);
  const double interval = data.SampleInterval / 1e6;
  double duration = 0;
  std::vector<uint8_t> codes;
  for (const LeadData& lead : leads) {
    duration = std::max(duration, (lead.Offset + lead.Count) * interval);
    codes.push_back(lead.Code);
  }
  if (duration <= 0) return Fail(plat::kErrNoData, "no samples", problem);
  if (options.From >= duration) {
    return Fail(plat::kErrInvalidParameter,
                "the window starts at " + Format("%g", options.From) + " s, after the data ends (" +
                    Format("%.3f", duration) + " s)",
                problem);
  }
  double seconds = options.Seconds;
  if (seconds <= 0) {
    seconds = duration - options.From;
    if (source.Rhythm) seconds = std::min(seconds, kDefaultSeconds);
  }

  const Arrangement arrangement = Arrange(codes, options.Requested, !source.Rhythm, seconds);
  const double columnWidth = arrangement.ColumnDuration * options.Speed;
  const double pulseWidth = kPulseSeconds * options.Speed;
  const double calibrationWidth = pulseWidth + 2 * kPulseLeadIn;
  const double pitch = RowPitch(options.Gain);
  // The paper spans the sheet even when the record is short.
  const double gridWidth =
      std::max(RoundUp(calibrationWidth + arrangement.Columns * columnWidth, kMajorStep),
               kMinWidth - 2 * kMargin);
  sheet->Width = std::max(2 * kMargin + gridWidth, kMinWidth);

  std::vector<std::string> header;
  const auto columns = static_cast<size_t>((sheet->Width - 2 * kMargin) / (0.6 * kHeaderSize));
  for (const std::string& line : source.Header) Wrap(line, columns, &header);
  double y = kMargin + kHeaderSize;
  for (const std::string& line : header) {
    sheet->Texts.push_back({kMargin, y, kHeaderSize, CleanText(line)});
    y += kHeaderLine;
  }

  const double gridTop = y - kHeaderSize + kGap;
  sheet->Grid = {kMargin, gridTop, gridWidth, arrangement.Rows * pitch};
  const double traceLeft = kMargin + calibrationWidth;

  for (unsigned row = 0; row < arrangement.Rows; ++row) {
    const double baseline = gridTop + row * pitch + pitch / 2;
    const double x = kMargin + kPulseLeadIn;
    sheet->Calibration.push_back({"",
                                  {{kMargin, baseline},
                                   {x, baseline},
                                   {x, baseline - options.Gain},
                                   {x + pulseWidth, baseline - options.Gain},
                                   {x + pulseWidth, baseline},
                                   {traceLeft, baseline}}});
  }
  std::set<unsigned> shown;
  for (const Panel& panel : arrangement.Panels) {
    const LeadData& lead = leads[panel.Lead];
    shown.insert(panel.Lead);
    const double top = gridTop + panel.Row * pitch;
    const Point origin{traceLeft + panel.Column * columnWidth, top + pitch / 2};
    sheet->Texts.push_back(
        {origin.X + 1.0, top + 1.0 + kLabelSize, kLabelSize, LeadLabel(lead.Code)});
    if (panel.Column > 0) {
      sheet->Ticks.push_back(
          {"", {{origin.X, origin.Y - kTickHalf}, {origin.X, origin.Y + kTickHalf}}});
    }
    if (lead.Samples == nullptr) continue;
    const double t0 = options.From + panel.Start;
    AddTrace(lead, source, options, t0, t0 + panel.Duration, origin, sheet);
  }
  sheet->LeadCount = static_cast<unsigned>(shown.size());
  sheet->LayoutName = LayoutName(arrangement.Chosen);

  const double footer = gridTop + sheet->Grid.Height + kFooterGap;
  std::string text = Format("%g mm/s", options.Speed) + "    " + Format("%g mm/mV", options.Gain) +
                     "    " + (source.Rhythm ? "rhythm " : "reference beats ") +
                     Format("%.2f", options.From) + "-" + Format("%.2f s", options.From + seconds) +
                     "    layout " + sheet->LayoutName;
  if (!source.Title.empty()) text += "    " + source.Title;
  sheet->Texts.push_back({kMargin, footer, kHeaderSize, CleanText(text)});
  sheet->Height = footer + kMargin;
  return true;
}

}  // namespace scpecg::plot
