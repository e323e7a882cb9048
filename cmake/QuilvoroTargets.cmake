# SPDX-FileCopyrightText: 2026 The Quilvoro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Shared settings for every target of the project.

function(quilvoro_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(QUILVORO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                                QT_NO_KEYWORDS)
  if(QUILVORO_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# Each library's include root holds its own folder alone (a link to it), so that "render/X.h"
# resolves only where the render library is linked: a library sees its own headers and those of
# the libraries it links, and an include that points up or sideways does not compile.
function(quilvoro_include_root target)
  get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  set(root "${PROJECT_BINARY_DIR}/include/${target}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${folder}" SYMBOLIC)
  target_include_directories(${target} PUBLIC "${root}")
  set_property(GLOBAL APPEND PROPERTY QUILVORO_LIBRARIES ${target})
endfunction()

# Writes one line per library: its source folder, then every folder its files may include from
# (its own and those of the libraries it links, directly or not). scripts/check-layers.sh reads
# it, so the layers are written down once, in the libraries' DEPENDS.
function(quilvoro_write_layers file)
  get_property(libraries GLOBAL PROPERTY QUILVORO_LIBRARIES)
  set(text "")
  foreach(library IN LISTS libraries)
    set(reached "")
    set(pending ${library})
    while(pending)
      list(POP_FRONT pending target)
      if(target IN_LIST reached)
        continue()
      endif()
      list(APPEND reached ${target})
      get_target_property(linked ${target} LINK_LIBRARIES)
      foreach(dependency IN LISTS linked)
        if(dependency MATCHES "^quilvoro_")
          list(APPEND pending ${dependency})
        endif()
      endforeach()
    endwhile()
    list(TRANSFORM reached REPLACE "^quilvoro_" "")
    list(JOIN reached " " folders)
    string(APPEND text "${folders}\n")
  endforeach()
  file(WRITE "${file}" "${text}")
endfunction()

# One static library per source folder; every .cpp/.h of the folder belongs to it.
function(quilvoro_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PRIVATE_DEPENDS;RESOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp"
                                      "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${name} STATIC ${sources} ${ARG_RESOURCES})
  quilvoro_include_root(${name})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE ${ARG_PRIVATE_DEPENDS})
  quilvoro_target_options(${name})
endfunction()

# Every tst_*.cpp of a test folder becomes one QTest executable registered with CTest.
function(quilvoro_tests area)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tst_*.cpp")
  file(GLOB helpers CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  foreach(test_source IN LISTS tests)
    get_filename_component(stem "${test_source}" NAME_WE)
    string(REPLACE "tst_" "" unit "${stem}")
    set(target "test_${area}_${unit}")
    add_executable(${target} "${test_source}" ${helpers})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} quilvoro_testsupport Qt6::Test)
    quilvoro_target_options(${target})
    add_test(NAME "${area}/${unit}" COMMAND ${target})
    set_tests_properties("${area}/${unit}" PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QUICK_BACKEND=software;LC_ALL=C.UTF-8;FONTCONFIG_FILE=${PROJECT_SOURCE_DIR}/tests/support/fonts.conf"
      TIMEOUT 300)
  endforeach()
endfunction()
