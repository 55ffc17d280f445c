# Warnings for the project's own targets (third-party code is not built here).
function(tellurix_target_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wformat=2)
  if(TELLURIX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
