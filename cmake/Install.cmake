# `cmake --install` lays the tool out so that it finds its files relative to
# its own executable (tools/brix/Installation.cpp); the tree can be moved.
set(brixLib lib/brix)
set(brixShare share/brix)
set_target_properties(brix PROPERTIES INSTALL_RPATH "$ORIGIN/../${brixLib}")
install(TARGETS brix RUNTIME DESTINATION bin)
install(TARGETS brixplatform Brix LIBRARY DESTINATION ${brixLib})
install(FILES ${PROJECT_BINARY_DIR}/tweak/Brix.plist ${PROJECT_BINARY_DIR}/prefs/BrixPrefs.plist
  DESTINATION ${brixLib})
# The settings bundle's resources, then its library, installed as a target so
# that its build-tree run path is dropped.
install(DIRECTORY ${PROJECT_BINARY_DIR}/prefs/BrixPrefs.bundle DESTINATION ${brixLib}
  PATTERN BrixPrefs.so EXCLUDE)
install(TARGETS BrixPrefs LIBRARY DESTINATION ${brixLib}/BrixPrefs.bundle)
install(DIRECTORY ${PROJECT_BINARY_DIR}/tweak/Assets.bundle DESTINATION ${brixShare})
install(FILES ${PROJECT_SOURCE_DIR}/tools/brix/demo/tour.json DESTINATION ${brixShare}/demo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/tools/brix/demo/fixtures DESTINATION ${brixShare}/demo)
# The studio's session (its fixtures are the demo's, ../demo/fixtures) and its page.
install(FILES ${PROJECT_SOURCE_DIR}/tools/brix/studio/session.json DESTINATION ${brixShare}/studio)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/tools/brix/studio/page DESTINATION ${brixShare}/studio)
install(FILES ${PROJECT_BINARY_DIR}/tools/brix/brix.1 DESTINATION share/man/man1)
install(FILES ${PROJECT_BINARY_DIR}/tools/brix/brix.bash-completion DESTINATION share/bash-completion/completions
  RENAME brix)
