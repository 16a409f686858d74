# Writes the site into OUT: the files under SOURCE, the engine (ENGINE, a
# .wasm) and sw.js from sw.js.in, its cache named by the release.
file(REMOVE_RECURSE ${OUT})
file(COPY ${SOURCE}/ DESTINATION ${OUT})
file(COPY ${ENGINE} DESTINATION ${OUT})

file(GLOB_RECURSE files RELATIVE ${OUT} ${OUT}/*)
list(SORT files)
set(hashes "")
set(urls "  './',\n")
foreach(f IN LISTS files)
  file(SHA256 ${OUT}/${f} h)
  string(APPEND hashes "${h} ${f}\n")
  # The browser fetches the manifest's icons itself when it installs the
  # app; the worker keeps what the page shows.
  if(NOT f STREQUAL "index.html" AND NOT f MATCHES "^icons/icon-(192|512|maskable-512)\\.png$")
    string(APPEND urls "  './${f}',\n")
  endif()
endforeach()
string(SHA256 release "${hashes}")
string(SUBSTRING ${release} 0 12 release)
set(QILO_RELEASE "${VERSION}-${release}")
set(QILO_SITE_FILES "${urls}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/sw.js.in ${OUT}/sw.js @ONLY)
