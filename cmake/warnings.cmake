# One place for the warning set, applied per target with nestiq_warnings(target).
function(nestiq_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 $<$<BOOL:${NESTIQ_WERROR}>:/WX>)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic
      $<$<BOOL:${NESTIQ_WERROR}>:-Werror>)
  endif()
endfunction()
