/* The test module's strings, shared by its string table and its STRINGTABLE resource;
   the second one holds Windows-1252 bytes (e acute, euro). Plain C for the resource
   compiler. */
#pragma once

#define KTX_TEST_STRING_1_ID 1
#define KTX_TEST_STRING_1 "KTX test module"
#define KTX_TEST_STRING_2_ID 2
#define KTX_TEST_STRING_2 "Caf\xE9 \x80"
