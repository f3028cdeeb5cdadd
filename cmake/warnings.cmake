# One place for the warning policy: every target of ours gets it through nimb_warnings().
function(nimb_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(NIMB_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
