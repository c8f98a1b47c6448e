# The documents that repeat the version of CMakeLists.txt give that version: the newest entry of
# the Debian changelog, the header of each manual page and the newest AppStream release.
#   cmake -DVERSION=<SOLFIRA_VERSION_TEXT> -DROOT=<source folder> -P tests/version.cmake

# The first line of FILE that matches LINE must hold WANTED.
function(expect file line wanted)
  file(STRINGS "${ROOT}/${file}" found REGEX "${line}" LIMIT_COUNT 1)
  string(FIND "${found}" "${wanted}" at)
  if(at EQUAL -1)
    message(SEND_ERROR "${file}: \"${found}\" should hold ${wanted}")
  endif()
endfunction()

expect(cmake/debian/changelog "^[a-z]" "solfira (${VERSION}) ")
expect(docs/man/solfira.6 "^\\.TH " "\"Solfira ${VERSION}\"")
expect(docs/man/solfira-registro.1 "^\\.TH " "\"Solfira ${VERSION}\"")
expect(assets/desktop/it.solfira.Solfira.metainfo.xml "<release " "version=\"${VERSION}\"")
