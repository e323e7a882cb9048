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

# One static library per source folder; every .cpp/.h of the folder belongs to it.
function(quilvoro_library name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;PRIVATE_DEPENDS;RESOURCES" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp"
                                      "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${name} STATIC ${sources} ${ARG_RESOURCES})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
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
