# Debian's hardening, the flags `DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags` gives,
# written out rather than asked of dpkg-buildflags: the flags must not depend on whether dpkg-dev
# is installed, or installing it would rebuild everything. The sanitizer and fuzz builds turn it
# off, since fortified calls hide overflows from AddressSanitizer.
option(SKIFF_HARDENING "Build with Debian's hardening flags" ON)
if(NOT SKIFF_HARDENING)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Not every compiler takes these for every processor (-fcf-protection is x86 only).
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "SKIFF_CXX_TAKES${flag}" takes)
  check_cxx_compiler_flag(${flag} ${takes})
  if(${takes})
    add_compile_options(${flag})
  endif()
endforeach()
# The fortified calls are chosen only when optimising; glibc warns about it otherwise.
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_link_options(LINKER:-z,relro LINKER:-z,now)
