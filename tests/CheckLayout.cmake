# Fails when a file outside the windows' folders includes a Qt header, when anything but the
# dialogs implementation uses QMessageBox, QFileDialog or the print dialogs directly, or when a
# geodesy file includes anything but standard headers, common/ and geodesy/, or a diagnosis file
# anything but standard headers, common/, compare/, plan/, markjoins/ and diagnosis/, or a file
# outside src/exchange includes the JSON library, or a program file outside it GeographicLib. Run
# by ctest as "layout".
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/src/*.h" "${SOURCE_DIR}/src/*.cpp"
  "${SOURCE_DIR}/tests/*.h" "${SOURCE_DIR}/tests/*.cpp"
  "${SOURCE_DIR}/bench/*.h" "${SOURCE_DIR}/bench/*.cpp"
  "${SOURCE_DIR}/examples/*.h" "${SOURCE_DIR}/examples/*.cpp")

# Fails for each include of file f that is neither a standard header nor a header of the
# folders matched by folders ("common|geodesy"); why says what the folder is for.
function(check_core_includes f folders why)
  set(found 0)
  file(STRINGS "${SOURCE_DIR}/${f}" local REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS local)
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"(${folders})/[^\"]*\"")
      string(STRIP "${line}" line)
      message(SEND_ERROR "${f}: ${line}: ${why}")
      math(EXPR found "${found} + 1")
    endif()
  endforeach()
  file(STRINGS "${SOURCE_DIR}/${f}" angled REGEX "^[ \t]*#[ \t]*include[ \t]*<[^>]*[./][^>]*>")
  if(angled)
    list(GET angled 0 first)
    string(STRIP "${first}" first)
    message(SEND_ERROR "${f}: ${first}: ${why} (No outside library.)")
    math(EXPR found "${found} + 1")
  endif()
  math(EXPR total "${failures} + ${found}")
  set(failures ${total} PARENT_SCOPE)
endfunction()

set(failures 0)
foreach(f IN LISTS files)
  file(STRINGS "${SOURCE_DIR}/${f}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z0-9]+|Qt[A-Za-z0-9]*/[^>\"]*)[>\"]")
  if(includes)
    if(NOT f MATCHES "^(src/app/|src/joins/|src/[a-z]+/ui/|tests/gui/|bench/)")
      list(GET includes 0 first)
      string(STRIP "${first}" first)
      message(SEND_ERROR "${f}: includes a Qt header (${first}). Qt belongs in src/app, src/joins, "
        "the ui/ subfolders, tests/gui and bench; the core reaches the windows through its seams "
        "(MessageSink, the settings interfaces, ColumnWriter, PendingEvents).")
      math(EXPR failures "${failures} + 1")
    endif()
  endif()
  if(f MATCHES "^src/geodesy/")
    check_core_includes("${f}" "common|geodesy" "geodesy is numbers only: its files include the \
standard library, common/ and geodesy/, nothing else. A routine that reads the mark list belongs \
in src/markjoins (or a folder above it), which hands geodesy the numbers.")
  elseif(f MATCHES "^src/diagnosis/")
    check_core_includes("${f}" "common|compare|plan|markjoins|diagnosis" "the diagnosis studies \
a comparison's judgements: its files include the standard library, common/, compare/, plan/, \
markjoins/ and diagnosis/, nothing else. What writes a diagnosis out (JSON, a report) belongs to \
the folder of that output.")
  endif()
  # The outside libraries of the writers' folder, each behind that folder's own functions.
  foreach(library IN ITEMS "nlohmann|the JSON library" "GeographicLib|GeographicLib")
    string(REPLACE "|" ";" library "${library}")
    list(GET library 0 prefix)
    list(GET library 1 name)
    file(STRINGS "${SOURCE_DIR}/${f}" used REGEX "^[ \t]*#[ \t]*include[ \t]*<${prefix}/")
    # The tests check the core's geodesy against GeographicLib.
    # The criteria file's reader is the one user of the JSON library in the core: the shipped
    # criteria are JSON data the comparison itself reads.
    if(used AND NOT f MATCHES "^src/exchange/" AND NOT (prefix STREQUAL "GeographicLib" AND
                                                       f MATCHES "^tests/")
       AND NOT (prefix STREQUAL "nlohmann" AND f STREQUAL "src/compare/CriteriaFile.cpp"))
      message(SEND_ERROR "${f}: includes ${name}, which only the writers' folder (src/exchange) "
        "and, for the JSON library, the criteria file's reader (src/compare/CriteriaFile.cpp) "
        "use, behind their own functions (CompareJson, DiagnosisJson, CompareGeoJson, "
        "AddCriteriaFile).")
      math(EXPR failures "${failures} + 1")
    endif()
  endforeach()
  if(NOT f MATCHES "^src/app/QtDialogs\\.(h|cpp)$")
    file(STRINGS "${SOURCE_DIR}/${f}" direct REGEX "QMessageBox|QFileDialog|QPrint(Preview)?Dialog")
    if(direct)
      message(SEND_ERROR "${f}: uses QMessageBox, QFileDialog, QPrintDialog or QPrintPreviewDialog "
        "directly. Show messages, file dialogs, print dialogs and previews through the Dialogs "
        "interface (src/app/Dialogs.h), which tests replace by a scripted double.")
      math(EXPR failures "${failures} + 1")
    endif()
  endif()
endforeach()

list(LENGTH files count)
if(failures GREATER 0)
  message(FATAL_ERROR "layout: ${failures} problem(s) in ${count} files")
endif()
message(STATUS "layout: ${count} files checked, no problems")
