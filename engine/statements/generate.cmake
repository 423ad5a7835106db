# Turns catalogue.txt into source at build time, so that no copy of a text is kept by
# hand. Run as: cmake -DSOURCE=catalogue.txt -DOUT=file -DWHAT=catalogue|table|rc
#   [-DLANGUAGE=0..6] [-DCODE_PAGE=1252|932] -P generate.cmake
#   catalogue: the C++ table compiled into ktx_statements (UTF-8 texts of every language)
#   table:     a language module's exported string table (UTF-8, declared as code page 65001)
#   rc:        a language module's STRINGTABLE, UTF-8 here, converted afterwards with iconv
cmake_minimum_required(VERSION 3.20)

file(STRINGS "${SOURCE}" lines ENCODING UTF-8)

# C string literal of `text`.
function(c_literal text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# The 7-character prefix of a statement string: the code in three digits, the mnemonic
# padded to three characters, one blank. Its first three characters stand alone too.
function(statement_prefix code mnemonic out)
  string(LENGTH "${code}" code_length)
  string(LENGTH "${mnemonic}" mnemonic_length)
  if(code_length GREATER 3 OR mnemonic_length GREATER 3)
    message(FATAL_ERROR "catalogue: code ${code} or mnemonic '${mnemonic}' too long")
  endif()
  set(prefix "${code}")
  while(code_length LESS 3)
    string(PREPEND prefix "0")
    math(EXPR code_length "${code_length} + 1")
  endwhile()
  string(APPEND prefix "${mnemonic}")
  while(mnemonic_length LESS 3)
    string(APPEND prefix " ")
    math(EXPR mnemonic_length "${mnemonic_length} + 1")
  endwhile()
  set(${out} "${prefix} " PARENT_SCOPE)
endfunction()

set(entries "")
set(strings "")
foreach(line IN LISTS lines)
  if(line MATCHES "^#" OR line STREQUAL "")
    continue()
  endif()
  string(REPLACE "|" ";" fields "${line}")
  list(LENGTH fields count)
  if(NOT count EQUAL 11)
    message(FATAL_ERROR "catalogue: ${count} columns instead of 11 in: ${line}")
  endif()
  list(GET fields 0 kind)
  list(GET fields 1 code)
  list(GET fields 2 mnemonic)
  list(GET fields 3 criterion)
  list(SUBLIST fields 4 7 texts)
  if(WHAT STREQUAL "catalogue")
    set(row "")
    foreach(text IN LISTS texts)
      c_literal("${text}" literal)
      string(APPEND row "${literal}, ")
    endforeach()
    c_literal("${mnemonic}" mnemonic_literal)
    c_literal("${criterion}" criterion_literal)
    if(kind STREQUAL "R")
      set(group "StatementGroup::kRhythm")
    elseif(kind STREQUAL "M")
      set(group "StatementGroup::kMorphology")
    else()
      set(group "StatementGroup::kDriver")
    endif()
    string(APPEND entries
      "    {${code}, ${group}, ${mnemonic_literal}, ${criterion_literal},\n     {${row}}},\n")
  else()
    list(GET texts ${LANGUAGE} text)
    if(kind STREQUAL "D")
      set(id ${code})
    else()
      math(EXPR id "1000 + ${code}")
      statement_prefix("${code}" "${mnemonic}" prefix)
      string(PREPEND text "${prefix}")
    endif()
    if(WHAT STREQUAL "table")
      c_literal("${text}" literal)
      string(APPEND strings "    {${id}, ${literal}},\n")
    else()
      string(REPLACE "\"" "\"\"" text "${text}")
      string(APPEND strings "  ${id} \"${text}\"\n")
    endif()
  endif()
endforeach()

set(notice "Generated from engine/statements/catalogue.txt by generate.cmake: do not edit.")
if(WHAT STREQUAL "catalogue")
  file(WRITE "${OUT}" "// ${notice}\n#include \"engine/statements/catalogue.h\"\n\n"
    "namespace ktx::engine {\n\nconst StatementEntry kStatementCatalogue[] = {\n${entries}};\n"
    "const size_t kStatementCatalogueSize = sizeof(kStatementCatalogue) / sizeof(kStatementCatalogue[0]);\n\n"
    "}  // namespace ktx::engine\n")
elseif(WHAT STREQUAL "table")
  file(WRITE "${OUT}" "// ${notice}\n#include <cstdint>\n\n#include \"platform/module_strings.h\"\n\n"
    "extern \"C\" __attribute__((visibility(\"default\"))) const uint32_t KtxModuleCodePage = 65001;\n"
    "extern \"C\" __attribute__((visibility(\"default\"))) const KtxModuleString KtxModuleStrings[] = {\n"
    "${strings}    {0, nullptr},\n};\n")
else()
  file(WRITE "${OUT}.utf8" "// ${notice}\n#pragma code_page(${CODE_PAGE})\n\nSTRINGTABLE\nBEGIN\n${strings}END\n")
  # A second byte 0x5C of a double-byte character (code page 932) would read as a
  # backslash escape to the resource compiler: doubling it keeps the byte.
  execute_process(COMMAND iconv -f UTF-8 -t CP${CODE_PAGE} "${OUT}.utf8"
    COMMAND sed "s/\\\\/\\\\\\\\/g" OUTPUT_FILE "${OUT}" RESULTS_VARIABLE status)
  if(NOT status STREQUAL "0;0")
    message(FATAL_ERROR "catalogue: iconv could not convert the texts to code page ${CODE_PAGE}")
  endif()
endif()
