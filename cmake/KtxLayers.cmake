# The core is built layer by layer: each folder is an object library that names the
# layers below it, and a build-time check refuses an #include of any layer it does not
# name (directly or through them). The libraries are then put together from all layers.
#
#   platform <- record <- format <- reader <- writer <- analysis
#   record <- acquisition <- writer
#   writer <- interchange (Linux, not in the core library)
#   engine and automation above everything
#
# A new subsystem adds a CMakeLists.txt with one ktx_layer() call and its folder to
# KTX_LAYERS in the top-level CMakeLists.txt.

set(KTX_KNOWN_LAYERS platform record format reader acquisition writer analysis interchange engine
  automation)

# ktx_layer(<name> [DEPENDS <layer>...] [SOURCES <extra source>...])
# Builds <name>/*.cpp (plus SOURCES) as the object library ktx_<name>.
function(ktx_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "DEPENDS;SOURCES")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(APPEND sources ${arg_SOURCES})

  # Everything this layer may include: itself and its dependencies, transitively.
  set(allowed ${name})
  foreach(dep IN LISTS arg_DEPENDS)
    get_property(below GLOBAL PROPERTY KTX_LAYER_ALLOWED_${dep})
    if(NOT below)
      message(FATAL_ERROR "layer ${name} depends on ${dep}, which is not defined yet")
    endif()
    list(APPEND allowed ${below})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY KTX_LAYER_ALLOWED_${name} ${allowed})

  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/ktx_${name}_layering.stamp)
  list(JOIN allowed "|" allowed_arg)
  list(JOIN KTX_KNOWN_LAYERS "|" known_arg)
  set(checked ${sources} ${headers})
  list(JOIN checked "|" files_arg)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DLAYER=${name}" "-DALLOWED=${allowed_arg}"
      "-DKNOWN=${known_arg}" "-DFILES=${files_arg}" "-DROOT=${PROJECT_SOURCE_DIR}"
      "-DSTAMP=${stamp}" -P ${PROJECT_SOURCE_DIR}/cmake/check_layering.cmake
    DEPENDS ${checked} ${PROJECT_SOURCE_DIR}/cmake/check_layering.cmake
    COMMENT "Checking the includes of layer ${name}" VERBATIM)

  add_library(ktx_${name} OBJECT ${sources} ${stamp})
  set_source_files_properties(${stamp} PROPERTIES HEADER_FILE_ONLY ON)
  target_include_directories(ktx_${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}> $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>)
  foreach(dep IN LISTS arg_DEPENDS)
    target_link_libraries(ktx_${name} PUBLIC ktx_${dep})
  endforeach()
  ktx_warnings(ktx_${name})
  if(WIN32)
    # The same objects go into KTXSCP32.dll, which exports the core classes beside its
    # COM entry points; dllexport in the static library and test programs does no harm.
    target_compile_definitions(ktx_${name} PRIVATE KTX_BUILDING_DLL)
  else()
    set_target_properties(ktx_${name} PROPERTIES
      CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  endif()
  set_property(GLOBAL APPEND PROPERTY KTX_CORE_SOURCES ${sources})
endfunction()
