# Layout sources -> compressed form streams -> RCDATA resources.
#
# The form compiler and the skin, icon and shadow generators are build-time tools and must run on
# the build machine: the native tree builds them as the targets `formc`, `skingen`, `icongen`
# and `shadowgen`; a windows
# tree builds native copies in KQ_HOST_TOOLS_DIR (the same sources, configured with
# KQ_HOST_TOOLS_ONLY) before any layout is compiled, so that either tree builds on its own.
# scripts/build.sh points the three windows trees at one such folder, so the tools are built
# once; trees that share it must not be built at the same time.
# KQ_*_DEPENDS name the tool's file as well, so that what it made is remade when it changes.

if(WIN32)
  include(ExternalProject)
  set(KQ_HOST_TOOLS_DIR ${CMAKE_BINARY_DIR}/host-tools
      CACHE PATH "Where the native build-time tools are built")
  set(KQ_FORMC ${KQ_HOST_TOOLS_DIR}/tools/formc/formc)
  set(KQ_SKINGEN ${KQ_HOST_TOOLS_DIR}/tools/skingen/skingen)
  set(KQ_ICONGEN ${KQ_HOST_TOOLS_DIR}/tools/icongen/icongen)
  set(KQ_SHADOWGEN ${KQ_HOST_TOOLS_DIR}/tools/shadowgen/shadowgen)
  ExternalProject_Add(kq_host_tools
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${KQ_HOST_TOOLS_DIR}
    CMAKE_ARGS -DKQ_HOST_TOOLS_ONLY=ON -DKQ_SANITIZE=none -DCMAKE_BUILD_TYPE=Release
    # The tools change with the sources; ninja makes the rebuild a no-op otherwise.
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${KQ_FORMC} ${KQ_SKINGEN} ${KQ_ICONGEN} ${KQ_SHADOWGEN})
  set(KQ_FORMC_DEPENDS kq_host_tools ${KQ_FORMC})
  set(KQ_SKINGEN_DEPENDS kq_host_tools ${KQ_SKINGEN})
  set(KQ_ICONGEN_DEPENDS kq_host_tools ${KQ_ICONGEN})
  set(KQ_SHADOWGEN_DEPENDS kq_host_tools ${KQ_SHADOWGEN})
else()
  set(KQ_FORMC $<TARGET_FILE:formc>)
  set(KQ_FORMC_DEPENDS formc)
  set(KQ_SKINGEN $<TARGET_FILE:skingen>)
  set(KQ_SKINGEN_DEPENDS skingen)
  set(KQ_ICONGEN $<TARGET_FILE:icongen>)
  set(KQ_ICONGEN_DEPENDS icongen)
  set(KQ_SHADOWGEN $<TARGET_FILE:shadowgen>)
  set(KQ_SHADOWGEN_DEPENDS shadowgen)
endif()

# Binary properties spliced into layouts (`@'file'`) are looked up here first.
set(KQ_SPLICE_DIR ${CMAKE_BINARY_DIR}/splice)

# kq_compile_form(SOURCE OUT_VAR [DEPENDS files...]): compiles one layout source named after
# its class (TfrmMain.form) into <build>/forms/TFRMMAIN.formz, zlib level 9; OUT_VAR gets
# the output path. Files the layout splices go in DEPENDS.
function(kq_compile_form source out_var)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_filename_component(abs ${source} ABSOLUTE)
  get_filename_component(cls ${source} NAME_WE)
  string(TOUPPER ${cls} res)
  set(out ${CMAKE_BINARY_DIR}/forms/${res}.formz)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/forms
    COMMAND ${KQ_FORMC} ${abs} -o ${out} -I ${KQ_SPLICE_DIR}
    DEPENDS ${abs} ${KQ_FORMC_DEPENDS} ${ARG_DEPENDS}
    COMMENT "Compiling layout ${cls}")
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()

# kq_add_form_resources(TARGET SOURCES... [DEPENDS files...]): compiles the layouts and
# links them into the Windows program TARGET as RCDATA named by the upper-cased class name.
function(kq_add_form_resources target)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  foreach(source ${ARG_UNPARSED_ARGUMENTS})
    get_filename_component(cls ${source} NAME_WE)
    string(TOUPPER ${cls} res)
    kq_compile_form(${source} out DEPENDS ${ARG_DEPENDS})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_${res}.rc)
    file(CONFIGURE OUTPUT ${rc} CONTENT "${res} RCDATA \"${out}\"\n")
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${out})
    add_library(${target}_${res} OBJECT ${rc})
    target_link_libraries(${target} PRIVATE ${target}_${res})
  endforeach()
endfunction()

# kq_add_manifest(TARGET): the program manifest (supported systems, DPI awareness) as
# resource type 24, id 1.
function(kq_add_manifest target)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_manifest.rc)
  file(CONFIGURE OUTPUT ${rc}
       CONTENT "1 24 \"${CMAKE_SOURCE_DIR}/src/win/Program.manifest\"\n")
  # The target may live in another directory: the property is set where the target is.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
                              ${CMAKE_SOURCE_DIR}/src/win/Program.manifest)
  target_sources(${target} PRIVATE ${rc})
endfunction()

# kq_layout(SOURCE [DEPENDS files...]): the layout of one window of the program, with the
# files it splices. The windows tree stores it in the launcher's resources; the native tree
# compiles it too, for the layout tests.
function(kq_layout source)
  get_filename_component(cls ${source} NAME_WE)
  if(WIN32)
    kq_add_form_resources(KQMiniLauncher ${source} ${ARGN})
  else()
    kq_compile_form(${source} out ${ARGN})
    add_custom_target(layout_${cls} ALL DEPENDS ${out})
  endif()
endfunction()

# kq_internal_skins(CATALOGUE OUT_VAR): the internal skins made from the catalogue source,
# into <build>/splice/skins: one package per skin and the fragment InternalSkins.inc that a
# layout includes (`InternalSkins = include 'skins/InternalSkins.inc'`). OUT_VAR gets the
# fragment's path, for the DEPENDS of that layout, which must be in the same directory.
function(kq_internal_skins catalogue out_var)
  get_filename_component(abs ${catalogue} ABSOLUTE)
  set(dir ${KQ_SPLICE_DIR}/skins)
  set(out ${dir}/InternalSkins.inc)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${KQ_SKINGEN} ${abs} -o ${dir}
    DEPENDS ${abs} ${KQ_SKINGEN_DEPENDS}
    COMMENT "Generating the internal skins")
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()

# kq_add_program_info(TARGET DESCRIPTION): the application icon (drawn by icongen at build
# time, resource id 1) and the version resource, its numbers from the project's version.
function(kq_add_program_info target description)
  set(ico ${CMAKE_BINARY_DIR}/icons/${target}.ico)
  add_custom_command(
    OUTPUT ${ico}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons
    COMMAND ${KQ_ICONGEN} ${ico}
    DEPENDS ${KQ_ICONGEN_DEPENDS}
    COMMENT "Drawing the application icon")
  set(KQ_RC_ICON ${ico})
  set(KQ_RC_DESCRIPTION ${description})
  get_target_property(KQ_RC_NAME ${target} OUTPUT_NAME)
  if(NOT KQ_RC_NAME)
    set(KQ_RC_NAME ${target})
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_info.rc)
  configure_file(${CMAKE_SOURCE_DIR}/src/win/ProgramInfo.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS ${ico})
  # The target may live in another directory, where this command's output is not seen: a
  # target of this directory draws the icon first.
  add_custom_target(${target}_icon DEPENDS ${ico})
  add_dependencies(${target} ${target}_icon)
  target_sources(${target} PRIVATE ${rc})
  target_compile_definitions(${target} PRIVATE KQ_VERSION="${PROJECT_VERSION}")
endfunction()

# kq_add_shadow_images(TARGET): the window shadows' images (drawn by shadowgen at build time)
# as resources of type PNG named acSHDA (the active window's) and acSHDI (the inactive's).
function(kq_add_shadow_images target)
  set(dir ${CMAKE_BINARY_DIR}/shadows)
  set(active ${dir}/acSHDA.png)
  set(inactive ${dir}/acSHDI.png)
  if(NOT TARGET kq_shadow_images)
    add_custom_command(
      OUTPUT ${active} ${inactive}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${KQ_SHADOWGEN} ${active} ${inactive}
      DEPENDS ${KQ_SHADOWGEN_DEPENDS}
      COMMENT "Drawing the window shadows")
    add_custom_target(kq_shadow_images DEPENDS ${active} ${inactive})
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_shadows.rc)
  file(CONFIGURE OUTPUT ${rc} CONTENT "acSHDA PNG \"${active}\"\nacSHDI PNG \"${inactive}\"\n")
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
                              "${active};${inactive}")
  add_dependencies(${target} kq_shadow_images)
  target_sources(${target} PRIVATE ${rc})
endfunction()
