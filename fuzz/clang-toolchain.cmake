# The fuzzing build: clang with libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer,
# every finding fatal.
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)

# Strict floating point: the discharge tests the exception flags between its stages, and
# the fuzzer checks it with the very flags it would see.
#
# clang 14 still reports concepts as incomplete (__cpp_concepts 201907L), so libstdc++ 12
# hides std::expected from it. clang 14 compiles std::expected of trivial types correctly,
# and the core only returns std::expected<double, Fault>, so the build declares the newer
# level; a non-trivial std::expected fails to compile rather than miscompile.
set(CMAKE_CXX_FLAGS_INIT
    "-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer -ffp-model=strict -U__cpp_concepts -D__cpp_concepts=202002L")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fsanitize=address,undefined")
