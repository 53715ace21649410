# One place for the compiler flags every target of ours shares.
add_library(numerette_flags INTERFACE)
target_compile_options(numerette_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
  -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
# Relocations resolved and made read-only at start (full RELRO), as Debian's hardening asks.
target_link_options(numerette_flags INTERFACE LINKER:-z,relro LINKER:-z,now)
if(NUMERETTE_WERROR)
  target_compile_options(numerette_flags INTERFACE -Werror)
endif()
# The checking builds also check the standard library's own preconditions (an empty optional
# read, an index past a vector's end), which the sanitizers alone can miss when the bad read
# happens to land in memory that looks harmless.
if(NUMERETTE_SANITIZE OR NUMERETTE_FUZZ)
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
endif()
if(NUMERETTE_SANITIZE)
  target_compile_options(numerette_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(numerette_flags INTERFACE -fsanitize=address,undefined)
endif()
