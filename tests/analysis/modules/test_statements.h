/* The strings of the test language module, shared by its string table and its
   STRINGTABLE resource. Statement strings carry a 7-character prefix; 1030 is the
   prefix alone. Plain C for the resource compiler. */
#pragma once

#define KTX_STATEMENT_10 "(0010) Sinus rhythm"
#define KTX_STATEMENT_20 "(0020) Left axis deviation"
#define KTX_STATEMENT_30 "(0030) "
#define KTX_STATEMENT_42 "(0042) Old anterior infarct"
#define KTX_DRIVER_5001 "Lead off: 2033"
#define KTX_DRIVER_5002 "Lead off: 2032"
#define KTX_DRIVER_5003 "Noise: 2034"
#define KTX_DRIVER_5004 "No QRS complex found"
#define KTX_DRIVER_5005 "No P or T waves found"
#define KTX_DRIVER_5006 "Patient data incomplete"
