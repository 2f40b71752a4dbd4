# Fails while a text of the code has no finished translation in one of the
# translation sources: each source is brought up to date with the code in a
# scratch copy, as update_translations does, and lrelease counts what is
# unfinished.
# usage: cmake -DSOURCE_DIR=... -DSCRATCH=... -DLUPDATE=... -DLRELEASE=... -P translations.cmake
file(GLOB ts_files "${SOURCE_DIR}/resources/translations/*.ts")
if(NOT ts_files)
    message(FATAL_ERROR "no translation sources in ${SOURCE_DIR}/resources/translations")
endif()
file(MAKE_DIRECTORY "${SCRATCH}")
foreach(ts IN LISTS ts_files)
    get_filename_component(name "${ts}" NAME)
    file(COPY_FILE "${ts}" "${SCRATCH}/${name}")
    execute_process(COMMAND "${LUPDATE}" -silent -locations none -no-obsolete
                            "${SOURCE_DIR}/src" -ts "${SCRATCH}/${name}"
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND "${LRELEASE}" "${SCRATCH}/${name}" -qm "${SCRATCH}/${name}.qm"
                    OUTPUT_VARIABLE report COMMAND_ERROR_IS_FATAL ANY)
    if(NOT report MATCHES " and 0 unfinished\\)")
        message(FATAL_ERROR "${name}: ${report}Refresh the sources with `cmake --build build "
                            "--target update_translations` and translate what is new.")
    endif()
endforeach()
