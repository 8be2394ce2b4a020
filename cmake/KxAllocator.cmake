# The allocator the programs link.
#
# Finishing a drawing makes and frees millions of small entity objects; a
# thread-caching allocator does that markedly cheaper than the C library's
# (the document of a 20 MB drawing is freed in a quarter of the time). The
# programs link it, so the engine and the plug-ins they load allocate through
# it too; the libraries themselves keep whatever allocator their host has.
#
# KX_ALLOCATOR: mimalloc (the default), jemalloc, or system. A named
# allocator that is not installed leaves the C library's, with a message.
# The sanitizer build always keeps the C library's: the sanitizers replace
# malloc themselves.
set(KX_ALLOCATOR "mimalloc" CACHE STRING "Allocator the programs link: mimalloc, jemalloc or system")
set_property(CACHE KX_ALLOCATOR PROPERTY STRINGS mimalloc jemalloc system)

set(KX_ALLOCATOR_LIBRARY "")
if(KX_SANITIZE OR KX_ALLOCATOR STREQUAL "system")
  # The C library's.
elseif(KX_ALLOCATOR STREQUAL "mimalloc" OR KX_ALLOCATOR STREQUAL "jemalloc")
  find_library(KX_ALLOCATOR_PATH NAMES ${KX_ALLOCATOR})
  if(KX_ALLOCATOR_PATH)
    set(KX_ALLOCATOR_LIBRARY ${KX_ALLOCATOR_PATH})
    message(STATUS "Programs allocate with ${KX_ALLOCATOR} (${KX_ALLOCATOR_PATH})")
  else()
    message(STATUS "${KX_ALLOCATOR} is not installed (Debian: lib${KX_ALLOCATOR}-dev): "
                   "programs allocate with the C library")
  endif()
else()
  message(FATAL_ERROR "KX_ALLOCATOR must be mimalloc, jemalloc or system, not '${KX_ALLOCATOR}'")
endif()

# Links the chosen allocator into a program. It comes before the C library
# among the program's needed libraries, so its malloc is the one the whole
# process binds to, plug-ins included.
function(kx_link_allocator target)
  if(KX_ALLOCATOR_LIBRARY)
    # Needed even where the program itself calls no allocator function.
    target_link_libraries(${target} PRIVATE "-Wl,--push-state,--no-as-needed" ${KX_ALLOCATOR_LIBRARY}
                          "-Wl,--pop-state")
  endif()
endfunction()
