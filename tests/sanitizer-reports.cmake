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
# A process killed on purpose while the leak checker was stopping its threads
# leaves only the checker's complaint about that, no finding: shown, not failed.
set(count 0)
foreach(report IN LISTS reports)
    file(READ "${report}" text)
    message("${report}:\n${text}")
    if(text MATCHES "==ERROR: ")
        math(EXPR count "${count} + 1")
    endif()
endforeach()
file(REMOVE ${reports})
if(count GREATER 0)
    message(FATAL_ERROR "${count} sanitizer report(s) above")
endif()
