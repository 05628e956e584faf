# tavrik_add_test(NAME <name> SOURCES <files...> LIBS <libs...> LABEL <unit|gui|e2e> [QT_MAIN])
# QT_MAIN runs the suite inside a QApplication (tests/common/QtTestMain.cpp).
# GUI and end-to-end suites run under their own X server so they never need a
# desktop session; the rest run plain.
function(tavrik_add_test)
  cmake_parse_arguments(T "QT_MAIN" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_LABEL)
    set(T_LABEL unit)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  # Test files each keep their own helpers at file scope, often alike: they
  # are compiled one by one.
  set_target_properties(${T_NAME} PROPERTIES UNITY_BUILD OFF)
  if(T_QT_MAIN)
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} tavrik_qt_test_main)
  else()
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  if(T_LABEL STREQUAL "unit")
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  else()
    # Each suite starts looking for a free display at a number of its own, so
    # suites run in parallel never race for the same one.
    get_property(display_base GLOBAL PROPERTY TAVRIK_NEXT_DISPLAY)
    if(NOT display_base)
      set(display_base 110)
    endif()
    math(EXPR next_base "${display_base} + 10")
    set_property(GLOBAL PROPERTY TAVRIK_NEXT_DISPLAY ${next_base})
    add_test(NAME ${T_NAME}
             COMMAND xvfb-run -a -n ${display_base} -s "-screen 0 1920x1080x24"
                     $<TARGET_FILE:${T_NAME}>)
    # Sanitizer runs check our code, not the system libraries: LeakSanitizer
    # skips what D-Bus and fontconfig keep until exit, ThreadSanitizer ignores
    # Qt's uninstrumented thread pools, whose hand-overs it cannot see.
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT
      "QT_QPA_PLATFORM=xcb;LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/common/lsan.supp:print_suppressions=0;TSAN_OPTIONS=ignore_noninstrumented_modules=1:die_after_fork=0")
  endif()
  # The windows under test look for updates at start. Whatever host the build
  # is configured with, a test asks one that cannot exist, so it contacts
  # nothing and replaces nothing in the build tree; the update suite points
  # the check at its own local server. Set as a modification, which a suite's
  # own ENVIRONMENT does not replace.
  set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
                       ENVIRONMENT_MODIFICATION
                       "TAVRIK_UPDATE_URL=set:https://tests.invalid/insV39/ver.txt"
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
endfunction()
