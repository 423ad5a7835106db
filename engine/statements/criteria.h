// Thresholds of the diagnostic criteria, each with the published source it follows.
// Units as in Findings: ms, microvolts, degrees, beats per minute.
#pragma once

namespace ktx::engine::criteria {

// Rate: AHA/ACCF/HRS 2009 recommendations for the standardization and interpretation
// of the ECG (Part I, Mason et al.): sinus bradycardia below 60, tachycardia above 100.
constexpr int kBradycardiaBelow = 60;
// Spodick (Am J Cardiol 1993), surveying cardiologists: the normal resting sinus rate
// is 50 to 90 a minute, so sinus bradycardia from 50 is a normal variant.
constexpr int kNormalRestingRateFrom = 50;
constexpr int kTachycardiaAbove = 100;

// Irregularity: successive RR differences (RMSSD) above 10% of the mean RR; the
// normalised-RMSSD limit used for atrial fibrillation detection (Dash et al., Ann
// Biomed Eng 2009). With P waves the same irregularity is sinus arrhythmia.
constexpr double kIrregularAbove = 0.10;
// Fewer beats than this are too few to call atrial fibrillation.
constexpr int kMinBeatsForFibrillation = 8;

// Paced rhythm: at least half of the beats paced.
constexpr int kPacedFractionDenominator = 2;

// Frontal QRS axis, AHA/ACCF/HRS 2009 (Part I): normal -30 to +90 degrees.
constexpr int kAxisLeftBelow = -30;
constexpr int kAxisRightAbove = 90;

// PR, AHA/ACCF/HRS 2009 (Part I and Part II, Surawicz et al.): first-degree AV block
// above 200 ms, short PR below 120 ms.
constexpr int kPRLongAbove = 200;
constexpr int kPRShortBelow = 120;

// QRS duration, AHA/ACCF/HRS 2009 (Part III, Surawicz et al.): complete bundle branch
// block at 120 ms, incomplete RBBB 110 to 119 ms; S in I and V6 broader than R or
// than 40 ms for RBBB.
constexpr int kQRSCompleteBlockFrom = 120;
constexpr int kQRSIncompleteFrom = 110;
constexpr int kRBBBBroadSAbove = 40;
// LBBB (same source): no q waves in I, V5 and V6; a q under 0.1 mV is taken for
// the noise of its onset, not for septal activation.
constexpr int kSeptalQFrom = 100;

// QTc, AHA/ACCF/HRS 2009 (Part IV, Rautaharju et al.): prolonged from 450 ms in men and
// 460 ms in women. Fridericia decides (Bazett over-corrects at fast rates), Bazett
// stands in only when Fridericia was not measured; unknown sex takes the women's limit.
constexpr int kQTcLongMenFrom = 450;
constexpr int kQTcLongWomenFrom = 460;

// Low voltage, AHA/ACCF/HRS 2009 (Part V, Hancock et al.): QRS peak to peak below
// 0.5 mV in every limb lead or below 1.0 mV in every precordial lead.
constexpr int kLowVoltageLimbBelow = 500;
constexpr int kLowVoltagePrecordialBelow = 1000;

// LVH: Sokolow-Lyon 1949, S V1 + R V5 or V6 (the larger) from 3.5 mV; Cornell
// (Casale et al. 1985), R aVL + S V3 above 2.8 mV in men, 2.0 mV in women (unknown
// sex: men's). Not applied with complete LBBB.
constexpr int kSokolowLyonFrom = 3500;
// The voltage criteria were drawn from adults of middle age; below 35 years high
// QRS voltage is common in healthy hearts (young adults, athletes), so voltage alone is
// not called hypertrophy there (unknown age: applied).
constexpr int kVoltageLVHFromAge = 35;
constexpr int kCornellMenAbove = 2800;
constexpr int kCornellWomenAbove = 2000;

// ST at the J point, Fourth Universal Definition of Myocardial Infarction 2018 (Thygesen
// et al.), in two leads of a group: elevation 0.1 mV, in V2-V3 0.2 mV for men of 40
// and over (unknown age too), 0.25 mV for younger men, 0.15 mV for women; depression
// 0.05 mV. Depression and T inversion are not called with QRS from 120 ms (secondary).
constexpr int kSTElevationFrom = 100;
constexpr int kSTElevationV2V3MenFrom = 200;
constexpr int kSTElevationV2V3YoungMenFrom = 250;
constexpr int kSTElevationV2V3WomenFrom = 150;
constexpr int kYoungMenBelowAge = 40;
constexpr int kSTDepressionFrom = 50;
// The depression is "horizontal or downsloping" (same source): judged at J+80 (J+60
// above 100 a minute, as exercise testing does), rising from the J point by at most
// 0.04 mV over the 80 ms, a slope of 0.5 mV/s.
constexpr int kSTFlatRiseUpTo = 40;

// T inversion, AHA/ACCF/HRS 2009 (Part IV): negative T of 0.1 mV, deeper than the
// positive part, in two leads where T is normally upright (I, II, aVF, V3-V6).
constexpr int kTInversionFrom = 100;

// Q waves, Fourth Universal Definition of MI 2018 (prior infarction): in V2-V3 any Q
// above 20 ms, elsewhere Q from 30 ms and 0.1 mV deep, or a QS complex; two leads of
// a group.
constexpr int kQV2V3Above = 20;
constexpr int kQDurationFrom = 30;
constexpr int kQDepthFrom = 100;

// A lead group judged on "two leads" needs this many.
constexpr int kLeadsInGroup = 2;

}  // namespace ktx::engine::criteria
