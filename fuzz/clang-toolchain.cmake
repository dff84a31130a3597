# The fuzzing build: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer,
# every finding fatal.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)

# Strict floating point: the discharge tests the exception flags between its stages, and
# the fuzzer checks it with the very flags it would see. concepts-level.h lets clang 14 see
# libstdc++'s std::expected.
set(CMAKE_CXX_FLAGS_INIT
    "-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer -ffp-model=strict -include ${CMAKE_CURRENT_LIST_DIR}/concepts-level.h")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fsanitize=address,undefined")
