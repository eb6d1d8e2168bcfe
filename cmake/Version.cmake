# The one version of the program, from project(): a header every target can include
# as "version.h" (the About box, --version of both programs), and the package's.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h
               @ONLY)
target_include_directories(tessra_core PUBLIC ${CMAKE_BINARY_DIR}/generated)
