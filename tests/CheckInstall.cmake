# Installs the build into a temporary root and checks the installed programs: the batch program
# runs (--version, and a comparison of the installed examples), the program's link bin/kestralmga
# leads to its folder, the help book (in share/kestralmga/help) is reached from the program's
# folder with every page and picture it links to, the shipped criteria file is installed, and the
# desktop entry names the installed command and icon. Run by ctest as "install".
#   cmake -DBUILD_DIR=... -DROOT=... -P CheckInstall.cmake
cmake_minimum_required(VERSION 3.25)

foreach(variable BUILD_DIR ROOT)
  if(NOT ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

set(failures 0)
macro(fail)
  string(JOIN "" text ${ARGN})
  message(SEND_ERROR "${text}")
  math(EXPR failures "${failures} + 1")
endmacro()

file(REMOVE_RECURSE "${ROOT}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${ROOT}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${output}")
endif()

# The program: bin/kestralmga links to lib/kestralmga/KestralMGA, whose real folder leads to the
# help book.
set(link "${ROOT}/bin/kestralmga")
if(NOT IS_SYMLINK "${link}")
  fail("${link} is not a symbolic link to the program")
endif()
file(REAL_PATH "${link}" program)
file(REAL_PATH "${ROOT}/lib/kestralmga/KestralMGA" expected)
if(NOT program STREQUAL expected OR NOT EXISTS "${program}")
  fail("${link} leads to ${program}, not to ${expected}")
endif()
get_filename_component(program_dir "${program}" DIRECTORY)
set(help "${program_dir}/KestralMGA.html")
if(NOT EXISTS "${help}")
  fail("The help book ${help} is not beside the program")
endif()

# The shipped accuracy criteria, which the help book offers as the model of a user's own file.
if(NOT EXISTS "${ROOT}/share/kestralmga/criteria.json")
  fail("The criteria file share/kestralmga/criteria.json is not installed")
endif()

# Every page and picture the book links to is installed (web links and anchors aside).
file(GLOB_RECURSE pages FOLLOW_SYMLINKS "${program_dir}/*.html")
list(LENGTH pages page_count)
if(page_count LESS 10)
  fail("Only ${page_count} pages of the help book are reached from the program's folder")
endif()
foreach(page IN LISTS pages)
  file(READ "${page}" html)
  string(REGEX MATCHALL "(href|src)=\"[^\"]*\"" references "${html}")
  get_filename_component(page_dir "${page}" DIRECTORY)
  foreach(reference IN LISTS references)
    string(REGEX REPLACE "^(href|src)=\"([^\"#]*).*$" "\\2" target "${reference}")
    if(target STREQUAL "" OR target MATCHES "^[a-z]+:")
      continue()
    endif()
    if(NOT EXISTS "${page_dir}/${target}")
      file(RELATIVE_PATH shown "${ROOT}" "${page}")
      fail("${shown} links to ${target}, which is not installed")
    endif()
  endforeach()
endforeach()

# The desktop entry starts the installed program with the installed icon.
set(entry "${ROOT}/share/applications/kestralmga.desktop")
file(STRINGS "${entry}" lines)
foreach(expected_line "Name=KestralMGA" "Exec=kestralmga %f" "Icon=kestralmga")
  if(NOT expected_line IN_LIST lines)
    fail("${entry} lacks the line ${expected_line}")
  endif()
endforeach()
if(NOT EXISTS "${ROOT}/share/icons/hicolor/scalable/apps/kestralmga.svg")
  fail("The icon kestralmga.svg is not installed")
endif()

# The batch program.
set(cli "${ROOT}/bin/kestralmga-cli")
execute_process(COMMAND "${cli}" --version RESULT_VARIABLE status OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT output STREQUAL "KestralMGA 2.00\n")
  fail("${cli} --version gave status ${status}, \"${output}\" ${errors}")
endif()

# The installed examples compared: status 1 (one join of the example is not acceptable), fifteen
# joins between the plan's six PSMs, and no message but the closing one (the curve file is there).
set(examples "${ROOT}/share/kestralmga/examples")
execute_process(COMMAND "${cli}" compare --marks "${examples}/marks.csv" --plan "${examples}/plan"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
string(REGEX MATCHALL "\n[0-9]+ +[0-9]+ +[A-Za-z*]" joins "${output}")
list(LENGTH joins join_count)
string(FIND "${output}" "Comparison of PSM joins for ${examples}/plan\n" heading)
if(NOT status EQUAL 1 OR NOT join_count EQUAL 15 OR NOT heading EQUAL 0
   OR NOT output MATCHES "\n66281173       66281946       \\*\\*\\* JOIN NOT ACCEPTABLE \\*\\*\\*\n"
   OR NOT errors STREQUAL "Join Comparison: ***** 1 JOIN WAS NOT ACCEPTABLE *****\n")
  fail("The comparison of the installed examples gave status ${status}, ${join_count} joins:\n"
       "${output}\nand on standard error:\n${errors}")
endif()

# The report as a PDF, rendered by the installed plug-in beside the program (the loader names the
# file it opens), not by the build's.
file(REAL_PATH "${ROOT}" real_root)
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_DEBUG=files QT_QPA_PLATFORM=offscreen
                        "${cli}" compare --marks "${examples}/marks.csv" --plan "${examples}/plan"
                        --pdf "${ROOT}/report.pdf"
                RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
file(READ "${ROOT}/report.pdf" start LIMIT 4 HEX)
string(FIND "${errors}" "file=${real_root}/lib/kestralmga/plugins/kestralmga-print.so " opened)
if(NOT status EQUAL 1 OR NOT start STREQUAL "25504446" OR opened EQUAL -1)
  fail("The installed examples' --pdf gave status ${status}, a file starting with the bytes ${start}, "
       "the plug-in ${real_root}/lib/kestralmga/plugins/kestralmga-print.so opened: ${opened}")
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "install: ${failures} problem(s)")
endif()
file(REMOVE_RECURSE "${ROOT}")
message(STATUS "install: the installed programs, help book, examples and desktop entry are sound")
