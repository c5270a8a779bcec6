# Shows what the sanitizers reported during a test run, and fails if they
# reported anything. Reports go to files, not to stderr, because the real
# binary runs inside tests that keep its output to themselves: there a leak
# would only show as a wrong exit code. Each report is removed once shown, so
# the next run starts clean. UndefinedBehaviorSanitizer stays on stderr: given a
# log_path it drops its report, and it ends the process all the same, so a
# fault there still fails the test that met it.
#   cmake -DREPORTS=<folder> -P sanitizer-reports.cmake
file(GLOB reports "${REPORTS}/*")
file(MAKE_DIRECTORY "${REPORTS}")
if(NOT reports)
    return()
endif()
foreach(report IN LISTS reports)
    file(READ "${report}" text)
    message("${report}:\n${text}")
endforeach()
file(REMOVE ${reports})
list(LENGTH reports count)
message(FATAL_ERROR "${count} sanitizer report(s) above")
