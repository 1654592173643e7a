# The build folder holds the installed tree of the suite, so the programs run from it as they
# would after `cmake --install`:
#   suite/Start, suite/config/, suite/ClientSoftware/{Oculan,Rewinda,Firmora,config,language,skin*}
set(SUITE_TREE ${CMAKE_BINARY_DIR}/suite)
set(SUITE_CLIENT_DIR ${SUITE_TREE}/ClientSoftware)
set(SUITE_INSTALL_DIR suite)

# Everything the tree holds, so `cmake --build build --target suite` readies what
# `cmake --install` copies.
add_custom_target(suite)

# suite_add_program(name DEST <"" or ClientSoftware> SOURCES ... LIBS ...)
function(suite_add_program name)
  cmake_parse_arguments(P "" "DEST" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SUITE_TREE}/${P_DEST})
  install(TARGETS ${name} RUNTIME DESTINATION ${SUITE_INSTALL_DIR}/${P_DEST})
  add_dependencies(suite ${name})
endfunction()

# suite_add_data(DEST <folder below the tree> FILES ...): copies files into the tree at build
# time and installs them.
function(suite_add_data)
  cmake_parse_arguments(D "" "DEST;TARGET" "FILES" ${ARGN})
  set(outputs)
  foreach(f ${D_FILES})
    get_filename_component(base ${f} NAME)
    set(out ${SUITE_TREE}/${D_DEST}/${base})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
      DEPENDS ${f} VERBATIM)
    list(APPEND outputs ${out})
    install(FILES ${f} DESTINATION ${SUITE_INSTALL_DIR}/${D_DEST})
  endforeach()
  add_custom_target(${D_TARGET} ALL DEPENDS ${outputs})
  add_dependencies(suite ${D_TARGET})
endfunction()
