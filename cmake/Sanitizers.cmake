# AddressSanitizer and UndefinedBehaviorSanitizer for every target of the build, tests and tools included,
# so that a memory error or undefined behaviour anywhere fails the run that meets it. With
# -fno-sanitize-recover=all the first report ends the process instead of being logged and passed over.
option(CORVALEN_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(CORVALEN_SANITIZE)
    set(CORVALEN_SANITIZER_FLAGS
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${CORVALEN_SANITIZER_FLAGS})
    add_link_options(${CORVALEN_SANITIZER_FLAGS})
endif()
