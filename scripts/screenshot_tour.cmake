# Not a test: opens every window of the program for scripts/screenshots.sh, through the end-to-end driver.
if(TARGET e2e_driver)
    add_executable(screenshot_tour ${CMAKE_CURRENT_LIST_DIR}/screenshot_tour.cpp)
    target_link_libraries(screenshot_tour PRIVATE e2e_driver)
    target_link_options(screenshot_tour PRIVATE -municode)
    tocsinet_warnings(screenshot_tour)
    add_dependencies(screenshot_tour tocsinet)
endif()
