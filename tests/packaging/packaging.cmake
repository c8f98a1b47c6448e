# Everything the configure step read and the built programs link comes from the packages
# scripts/deps.sh installs (or their dependencies): what a new machine gets is what the build
# used. Runs after the build, so it sees every program and test.
add_test(NAME deps_complete
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/deps_complete.py
                 --deps ${PROJECT_SOURCE_DIR}/scripts/deps.sh
                 --source ${PROJECT_SOURCE_DIR} --build ${PROJECT_BINARY_DIR})
set_tests_properties(deps_complete PROPERTIES TIMEOUT 60)
