// Thresholds of the diagnostic criteria, each with the published source it follows.
// Units as in Findings: ms, microvolts, degrees, beats per minute. "AHA 2009" is the
// AHA/ACCF/HRS recommendations for the standardization and interpretation of the ECG:
// Part I (Kligfield et al. 2007), II (Mason et al. 2007, the statement list), III
// (Surawicz et al., intraventricular conduction), IV (Rautaharju et al., ST, T, U and
// QT), V (Hancock et al., chamber hypertrophy), VI (Wagner et al., acute ischaemia and
// infarction). "Minnesota" is the Minnesota Code (Prineas, Crow and Zhang 2010), taken
// where the recommendations leave a number open. Where the patient's sex or age is not
// known the criterion takes the limit named below; the driver then adds its patient
// warning (string 5006).
#pragma once

namespace ktx::engine::criteria {

// --- Rate and rhythm -------------------------------------------------------------------

// AHA 2009 Part I: sinus bradycardia below 60, tachycardia above 100. The same limits
// name junctional rhythms: escape below 60, accelerated 60-100, tachycardia above.
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

// Atrial flutter: regular atrial waves at 240-340 a minute (ACC/AHA/ESC 2003 guidelines
// for supraventricular arrhythmias, Blomstrom-Lundqvist et al.); fibrillation waves run
// faster and differ from cycle to cycle. "Regular": one cycle correlates with the next
// at least this well. The conduction ratio is named when the ventricles beat regularly
// at the atrial rate divided by 2, 3 or 4, within a tenth.
constexpr int kFlutterFrom = 240, kFlutterUpTo = 340;
constexpr double kFlutterRegularFrom = 0.5;
constexpr double kConductionRatioWithin = 0.1;

// Junctional and ectopic atrial rhythms: the P wave inverted in II, III and aVF
// (Minnesota 8-4-1's abnormal P wave), i.e. a frontal P axis from -150 to -30 degrees.
// Before a PR of 120 ms it comes from the junction (retrograde), after it from the low
// atrium (AHA 2009 Part I PR limit).
constexpr int kRetrogradePAxisFrom = -150, kRetrogradePAxisUpTo = -30;
// Without conducted P waves the rhythm is junctional only where the search between the
// beats found fewer P waves than this (three, the fewest that make an atrial rate): a
// sinus P wave too small for the reference beat may still show there.
constexpr int kNoAtrialWavesBelow = 3;
// Wandering atrial pacemaker: three or more P-wave shapes before the beats, at rates up
// to 100 (above it multifocal atrial tachycardia) - the rhythm of AHA 2009 Part II's
// statement list, with its usual definition (Surawicz and Knilans, Chou's
// Electrocardiography in Clinical Practice).
constexpr int kWanderingShapesFrom = 3;

// Paced rhythm: at least half of the beats paced.
constexpr int kPacedFractionDenominator = 2;

// Ventricular ectopy: a run of three or more ventricular beats at 100 a minute or faster
// is ventricular tachycardia (Minnesota 8-2-3); two in a row a couplet; bigeminy and
// trigeminy when every second or third beat is ventricular for three cycles in a row.
constexpr int kTachycardiaRunFrom = 3;
constexpr int kPatternCycles = 3;

// --- AV conduction ---------------------------------------------------------------------

// PR, AHA 2009 (Part I and Part II): first-degree AV block above 200 ms, short PR
// below 120 ms.
constexpr int kPRLongAbove = 200;
constexpr int kPRShortBelow = 120;
// Second- and third-degree AV block (Minnesota 6-1 and 6-2): a P wave on time that no
// QRS follows is blocked. Mobitz I (Wenckebach, 6-2-3) when the PR before it is longer
// than the PR after it, Mobitz II (6-2-1) when the PR stays; 2:1 (6-2-2) when every
// second P wave is blocked; third-degree (6-1) when the atria beat faster than the
// ventricles and independently of them, the ventricles regular and, without a
// pacemaker, slower than 60. "On time": within 15% of the median P-P interval;
// "stays": within 20 ms, the P wave's measuring error (IEC 60601-2-25 allows 10 ms SD);
// "independently": the P wave before each QRS lies at PRs spread by more than 80 ms
// (SD), where conducted beats keep theirs within a few ms.
constexpr int kConductedPRFrom = 80, kConductedPRUpTo = 400;
constexpr double kOnTimeWithin = 0.15;
constexpr int kConstantPRWithin = 20;
constexpr int kDissociatedPRSpreadAbove = 80;
constexpr int kEscapeBelow = 60;
constexpr double kTwoToOneWithin = 0.1;

// Ventricular pre-excitation (WPW pattern): PR below 120 ms, QRS from 120 ms, and a
// delta wave: the R wave peaking 60 ms or more after the QRS onset in one of I, II,
// aVL, V4-V6 (Minnesota 6-4-1; AHA 2009 Part III names the same three signs). The P
// wave must be found before every beat, not on the reference beat alone.
constexpr int kDeltaRPeakTimeFrom = 60;

// --- Intraventricular conduction (AHA 2009 Part III) -----------------------------------

// Frontal QRS axis, AHA 2009 (Part I): normal -30 to +90 degrees.
constexpr int kAxisLeftBelow = -30;
constexpr int kAxisRightAbove = 90;

// QRS duration: complete bundle branch block at 120 ms, incomplete 110 to 119 ms (the
// global QRS, from the earliest onset to the latest offset over the leads, as Part I
// recommends measuring it); S in I and V6 broader than R or than 40 ms for RBBB.
constexpr int kQRSCompleteBlockFrom = 120;
constexpr int kQRSIncompleteFrom = 110;
constexpr int kRBBBBroadSAbove = 40;
// LBBB: no q waves in I, V5 and V6 (a q under 0.1 mV is taken for the noise of its
// onset, not for septal activation) and the R peak more than 60 ms after the QRS onset
// in V5 and V6. Incomplete LBBB: QRS 110-119 ms, no such q, the R peak that late in V4,
// V5 or V6, and an LVH pattern (the voltage criteria below).
constexpr int kSeptalQFrom = 100;
constexpr int kLateRPeakAbove = 60;
// Left anterior fascicular block: axis -45 to -90, qR in aVL with its R peak 45 ms or
// more after the QRS onset, QRS below 120 ms (or with RBBB, the bifascicular block).
constexpr int kLAFBAxisUpTo = -45, kLAFBAxisFrom = -90;
constexpr int kLAFBRPeakTimeFrom = 45;
// Left posterior fascicular block: rS in I and aVL, qR in III and aVF, QRS below 120 ms,
// no right ventricular hypertrophy, from 16 years (Part III; children's axes lie further
// right). Part III's axis from +90 asks the reader to rule out a vertical heart first,
// which the waves alone cannot: the engine takes the axis from +120 of the hemiblock's
// first description (Rosenbaum et al. 1968, as Chou's Electrocardiography keeps it).
constexpr int kLPFBAxisFrom = 120, kLPFBAxisUpTo = 180;
constexpr int kAdultFromAge = 16;

// --- QT (AHA 2009 Part IV) -------------------------------------------------------------

// QTc prolonged from 450 ms in men and 460 ms in women (Part IV). Fridericia decides
// (Bazett over-corrects at fast rates), Bazett stands in only when Fridericia was not
// measured; unknown sex takes the women's limit.
constexpr int kQTcLongMenFrom = 450;
constexpr int kQTcLongWomenFrom = 460;
// Short QT: QTc of 320 ms or less (ESC 2022 guidelines for ventricular arrhythmias,
// Zeppenfeld et al.: the value that diagnoses short-QT syndrome). Part IV's 390 ms
// presumes the global QT, from the earliest QRS onset to the latest T end of the 12
// leads; the engine's T end lies about 25 ms before the latest (LUDB marks), where 390
// would call most healthy young men short.
constexpr int kQTcShortUpTo = 320;

// --- Voltage and chambers (AHA 2009 Part V) --------------------------------------------

// Low voltage: QRS peak to peak below 0.5 mV in every limb lead, below 1.0 mV in every
// precordial lead; each stated on its own.
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
// LVH with repolarisation abnormality ("strain"): the voltage criteria and ST depression
// or T inversion (the limits of Part IV below) in two of I, aVL, V5, V6, the leads of
// the tall R waves (Part V: secondary ST-T changes of hypertrophy).

// RVH: right axis deviation (above +90) and one of Part V's voltage criteria: R in V1
// from 0.7 mV; R/S in V1 above 1 with R from 0.5 mV; S in V5 or V6 from 0.7 mV with
// R/S in V6 below 1. QRS below 120 ms, adults.
constexpr int kRVHRV1From = 700;
constexpr int kRVHDominantRV1From = 500;
constexpr int kRVHSV5V6From = 700;

// Atrial enlargement (Part V): left, P wave longer than 120 ms, or V1's terminal
// negative P wave at least 0.1 mV deep and 40 ms long; right, P wave above 0.25 mV in
// II, III or aVF (Minnesota 9-3 as well) or above 0.15 mV in V1 or V2.
constexpr int kLAEPDurationAbove = 120;
constexpr int kLAETerminalDepthFrom = 100, kLAETerminalDurationFrom = 40;
constexpr int kRAELimbAbove = 250, kRAEV1V2Above = 150;

// --- ST segment and T wave -------------------------------------------------------------

// ST at the J point, Fourth Universal Definition of Myocardial Infarction 2018 (Thygesen
// et al.), in two leads of a group: elevation 0.1 mV, in V2-V3 0.2 mV for men of 40
// and over (unknown age too), 0.25 mV for younger men, 0.15 mV for women (unknown sex:
// men's); depression 0.05 mV. Depression and T inversion are not called with QRS from
// 120 ms (secondary).
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
// With LBBB, ST elevation in V1-V4, opposite to the QRS, is expected; from 0.5 mV it
// speaks for infarction (Sgarbossa et al., N Engl J Med 1996).
constexpr int kSTElevationLBBBFrom = 500;
// Acute injury: ST elevation in a territory with reciprocal ST depression in the
// opposite one (AHA 2009 Part VI): anterior with inferior, inferior with I and aVL,
// lateral with inferior. Posterior involvement: ST depression in two of V1-V3 with a
// tall R in V1, at least S and 40 ms long (Fourth Universal Definition; V2 is left out,
// a dominant R there is a common normal transition).
constexpr int kPosteriorRFrom = 40;

// Early repolarisation (Macfarlane et al., JACC 2015 consensus): J point elevated 0.1 mV
// in two inferior or lateral leads (V1-V3 left out), QRS below 120 ms, no reciprocal
// depression; the ST segment rising into an upright T (the terminal notch or slur
// itself is not measured).

// T inversion, AHA 2009 (Part IV): negative T of 0.1 mV, deeper than the positive part,
// in two leads where T is normally upright (I, II, aVF, V3-V6).
constexpr int kTInversionFrom = 100;
// Non-specific ST-T abnormality: in two leads of a group, a flat T (Minnesota 5-3: its
// positive and negative parts both below 0.1 mV) or a low T (5-4: positive, below a
// twentieth of an R of 1.0 mV or more), in I, II, V3-V6, and aVL and aVF where R
// reaches 0.5 mV; or ST depressed 0.05 mV at J+80 but sloping up (Minnesota 4-4's
// junctional depression, less than the ischaemic kind above).
constexpr int kFlatTBelow = 100;
constexpr int kLowTRatio = 20, kLowTRFrom = 1000;
constexpr int kTLeadRFrom = 500;

// Q waves, Fourth Universal Definition of MI 2018 (prior infarction): in V2-V3 any Q
// above 20 ms, elsewhere Q from 30 ms and 0.1 mV deep, or a QS complex; two leads of
// a group.
constexpr int kQV2V3Above = 20;
constexpr int kQDurationFrom = 30;
constexpr int kQDepthFrom = 100;

// A lead group judged on "two leads" needs this many.
constexpr int kLeadsInGroup = 2;

}  // namespace ktx::engine::criteria
