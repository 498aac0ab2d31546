# The recovery library's source files, relative to recovery/, for this build
# and for the fuzzing build (engine/fuzz), which compiles them on its own.
set(vtq_recovery_sources
    digests.cpp
    file_digests.cpp
    gcrypt_digest.cpp
    gf16.cpp
    lanes.cpp
    lost_slices.cpp
    md5_lanes.cpp
    md5_lanes_x86.cpp
    packets.cpp
    recovery_files.cpp
    recovery_writer.cpp
    region_multiply.cpp
    region_multiply_x86.cpp
    repair.cpp
    slice_combiner.cpp
    volume_names.cpp)
