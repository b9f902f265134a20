# How the project declares its targets: warnings per target, and its programs.

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

# A program of the project: its main source linked with its library, built at the top of
# the build folder, where the tests and `make run` find every program.
function(tessen_program target main library)
  add_executable(${target} ${main})
  target_link_libraries(${target} PRIVATE ${library})
  tessen_warnings(${target})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
endfunction()
