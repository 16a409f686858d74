# Fails when a core folder under ROOT includes app/ or a Qt header: the core
# builds without a toolkit and below the window. exact/ also includes nothing of
# ours but text/exception.h and text/utf16.h (its tests text/expect_error.h),
# so that it builds alone (for WebAssembly too) and speaks UTF-8 only.
#   cmake -DROOT=<source folder> -P check_layers.cmake
set(core_folders exact calc store ticker feed os text)
set(forbidden "#[ \t]*include[ \t]*[<\"]((\\.\\./)*app/|Qt[A-Za-z]*/|Q[A-Za-z]+[>\"])")
set(violations "")
foreach(folder IN LISTS core_folders)
  file(GLOB_RECURSE files "${ROOT}/${folder}/*.h" "${ROOT}/${folder}/*.cpp"
       "${ROOT}/${folder}/*.inc")
  foreach(path IN LISTS files)
    file(STRINGS "${path}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(line MATCHES "${forbidden}" OR
         (folder STREQUAL "exact" AND line MATCHES "include[ \t]*\"" AND
          NOT line MATCHES "include[ \t]*\"(exact/|text/exception\\.h|text/expect_error\\.h|text/utf16\\.h)"))
        file(RELATIVE_PATH name "${ROOT}" "${path}")
        string(APPEND violations "\n  ${name}: ${line}")
      endif()
    endforeach()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "A core folder includes app/ or Qt:${violations}")
endif()
