# Our own code builds with warnings as errors; third-party code does not.
# Win32 structures are routinely initialised by their size field alone, and
# GCC 12 reports string concatenations as overlapping copies (a false alarm).
function(corvane_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wnon-virtual-dtor
                                           -Wno-missing-field-initializers -Wno-restrict -Werror)
endfunction()
