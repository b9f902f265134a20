# Warnings are set per target, so that a target of another project built inside this one
# (or a newer compiler's new warnings in a release build) is not made to fail by them.
# TESSEN_WERROR turns every warning into an error: on in `make test` and CI.
option(TESSEN_WERROR "Treat warnings as errors" OFF)

function(tessen_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(TESSEN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
