# The compiler warnings of Velquor's own targets.

# Adds the project's warning switches to one target (and -Werror with VELQUOR_WERROR).
function(velquor_target_warnings target)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wshadow>)
  # GCC's inlined std::string copies report overlaps that cannot happen (GCC bug 105329).
  target_compile_options(${target} PRIVATE $<$<AND:$<COMPILE_LANGUAGE:CXX>,$<CXX_COMPILER_ID:GNU>>:-Wno-restrict>)
  if(VELQUOR_WERROR)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:C,CXX>:-Werror>)
  endif()
endfunction()

# Every target that compiles sources, defined in `dir` or below it.
function(velquor_compiled_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  set(found)
  foreach(t IN LISTS targets)
    get_target_property(type ${t} TYPE)
    if(type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      list(APPEND found ${t})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    velquor_compiled_targets(${sub} below)
    list(APPEND found ${below})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Called once after every subdirectory is added: a new target gets the warnings without
# its CMakeLists having to remember them.
function(velquor_warnings_for_all_targets dir)
  velquor_compiled_targets(${dir} targets)
  foreach(t IN LISTS targets)
    velquor_target_warnings(${t})
  endforeach()
endfunction()
