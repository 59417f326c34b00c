find_package(Qt6 REQUIRED COMPONENTS Test)
uego_add_test_suite(widgets NAME widgets_base
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/base_render.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/QtTestApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/base_geometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/base_bevel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/base_bingcontrol.cpp
    ${CMAKE_CURRENT_LIST_DIR}/base_flash.cpp
    ${CMAKE_CURRENT_LIST_DIR}/base_led.cpp
    ${CMAKE_CURRENT_LIST_DIR}/base_switch.cpp
  LIBS uego_widgets_base Qt6::Test)
