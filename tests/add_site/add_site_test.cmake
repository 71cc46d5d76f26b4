# pagefold_add_site in a project of its own, against the package files of
# this checkout and the pagefold-cli of this build:
#   cmake -DCLI=<pagefold-cli> -DSOURCE=<checkout> -P add_site_test.cmake
# Builds in a new folder in TMPDIR, checks the packed files, that a build
# without a change packs nothing, that a touched page and a new file pack
# again, and that wrong calls stop the configuration with the reason.
set(tmp $ENV{TMPDIR})
if(NOT tmp)
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 10 suffix)
set(WORK ${tmp}/pagefold-add-site-${suffix})
file(MAKE_DIRECTORY ${WORK}/package)
file(COPY ${SOURCE}/dist/PagefoldConfig.cmake DESTINATION ${WORK}/package)
file(WRITE ${WORK}/package/PagefoldTargets.cmake
  "add_executable(Pagefold::pagefold-cli IMPORTED)\n"
  "set_target_properties(Pagefold::pagefold-cli PROPERTIES IMPORTED_LOCATION \"${CLI}\")\n")
file(COPY ${SOURCE}/tests/add_site/CMakeLists.txt DESTINATION ${WORK}/project)
file(WRITE ${WORK}/project/site/index.htm "<a href=\"pages/a.htm\">a</a>")
file(WRITE ${WORK}/project/site/pages/a.htm "<img src=\"../logo.gif\">")
file(WRITE ${WORK}/project/site/logo.gif "GIF")
file(WRITE ${WORK}/project/site/lonely.gif "GIF")

function(run expected_result)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result STREQUAL expected_result)
    message(FATAL_ERROR "${ARGN}: exit ${result}\n${out}${err}")
  endif()
  set(output "${out}${err}" PARENT_SCOPE)
endfunction()

function(expect_in text what)
  string(FIND "${text}" "${what}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Expected \"${what}\" in:\n${text}")
  endif()
endfunction()

# Builds; the outputs named are packed, the others not.
function(packs_on_build packed)
  run(0 ${CMAKE_COMMAND} --build ${WORK}/build)
  foreach(res out/grouped.res plain-site.res)
    string(FIND "${output}" "Packing site into ${res}" at)
    list(FIND packed ${res} wanted)
    if(NOT (at EQUAL -1) EQUAL (wanted EQUAL -1))
      message(FATAL_ERROR "${res} packed (${at}) where wanted (${wanted}):\n${output}")
    endif()
  endforeach()
endfunction()

run(0 ${CMAKE_COMMAND} -S ${WORK}/project -B ${WORK}/build -DPagefold_DIR=${WORK}/package)
packs_on_build("out/grouped.res;plain-site.res")
file(READ ${WORK}/build/out/grouped.rc grouped)
expect_in("${grouped}" "INDEX PICS")
expect_in("${grouped}" "SEARCH_FILE_NOMBER_4 PICS")  # all four files: lonely.gif, linked from nowhere, kept
file(READ ${WORK}/build/plain-site.rc plain)
expect_in("${plain}" "FILELIST HTML")  # the file list as start page
string(FIND "${plain}" "SEARCH_FILE_NOMBER_3 " lonely)
if(NOT lonely EQUAL -1)
  message(FATAL_ERROR "lonely.gif, linked from nowhere, packed without KEEP_ALL:\n${plain}")
endif()
if(NOT EXISTS ${WORK}/build/out/grouped.res OR NOT EXISTS ${WORK}/build/plain-site.res)
  message(FATAL_ERROR "No .res packed")
endif()

packs_on_build("")
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
file(TOUCH ${WORK}/project/site/pages/a.htm)
packs_on_build("out/grouped.res;plain-site.res")
execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 1)
file(WRITE ${WORK}/project/site/pages/new.gif "GIF")
packs_on_build("out/grouped.res;plain-site.res")
packs_on_build("")

run(1 ${CMAKE_COMMAND} -S ${WORK}/project -B ${WORK}/bad -DPagefold_DIR=${WORK}/package "-DBAD_CALL=no source")
expect_in("${output}" "pagefold_add_site(plain): SOURCE_DIR is required")
run(1 ${CMAKE_COMMAND} -S ${WORK}/project -B ${WORK}/bad -DPagefold_DIR=${WORK}/package -DBAD_CALL=unknown)
expect_in("${output}" "pagefold_add_site(plain): unknown arguments KEEP")
file(REMOVE_RECURSE ${WORK})
