// Included before every file of the fuzzing build (fuzz/clang-toolchain.cmake).
//
// clang 14 still reports concepts as incomplete (__cpp_concepts 201907L), so libstdc++ 12
// hides std::expected from it. clang 14 compiles std::expected of trivial types correctly,
// and the core only returns std::expected<double, Fault>, so the build declares the newer
// level; a non-trivial std::expected fails to compile rather than miscompile. A clang that
// reports the level itself (19 does) is left alone: it refuses to have the macro undefined.
#if __cpp_concepts < 202002L
#undef __cpp_concepts
#define __cpp_concepts 202002L
#endif
