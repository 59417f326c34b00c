find_package(Qt6 REQUIRED COMPONENTS Test)
uego_add_test_suite(widgets NAME widgets_dial
  SOURCES
    ${PROJECT_SOURCE_DIR}/tests/support/QtTestApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dial_geometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dial_value.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dial_meter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dial_scale.cpp
  LIBS uego_widgets_dial Qt6::Test)
