# The engine's source files, relative to engine/, for this build and for the
# fuzzing build (engine/fuzz), which compiles them on its own.
set(vtq_engine_shared_sources
    assemble_run.cpp
    assembled_name.cpp
    assembler.cpp
    assembly_output.cpp
    disk_space.cpp
    current_failure.cpp
    file_list.cpp
    folder_walk.cpp
    format.cpp
    fragment_copy.cpp
    globals.cpp
    path.cpp
    platform/file_io.cpp
    secure_wipe.cpp
    shown_text.cpp
    split_run.cpp
    splitter.cpp
    stored_name.cpp
    wildcard.cpp
    worker_threads.cpp
    working_file.cpp)

set(vtq_engine_program_sources
    program/assembler_program.cpp
    program/batgen.cpp
    program/batgen_splitter.cpp
    program/error_trap.cpp
    program/globals_program.cpp
    program/protection.cpp
    program/split_guard_program.cpp
    program/splitter_program.cpp)

set(vtq_engine_control_sources
    control/assembler_control.cpp
    control/split_guard_control.cpp
    control/splitter_control.cpp)

set(vtq_engine_win32_sources
    platform/win32/drives_win32.cpp
    platform/win32/file_io_win32.cpp
    platform/win32/folders_win32.cpp
    platform/win32/message_boxes_win32.cpp
    platform/win32/name_case_win32.cpp
    platform/win32/path_names_win32.cpp
    platform/win32/same_file_win32.cpp
    platform/win32/shared_library_win32.cpp
    platform/win32/system_error_win32.cpp)

set(vtq_engine_posix_sources
    platform/posix/drives_posix.cpp
    platform/posix/file_io_posix.cpp
    platform/posix/folders_posix.cpp
    platform/posix/mount_table.cpp
    platform/posix/name_case_posix.cpp
    platform/posix/path_names_posix.cpp
    platform/posix/same_file_posix.cpp
    platform/posix/shared_library_posix.cpp
    platform/posix/system_error_posix.cpp)
