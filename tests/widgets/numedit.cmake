find_package(Qt6 REQUIRED COMPONENTS Test)
uego_add_test_suite(widgets NAME widgets_numedit
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/numedit_window.cpp
    ${PROJECT_SOURCE_DIR}/tests/support/QtTestApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/numedit_parse.cpp
    ${CMAKE_CURRENT_LIST_DIR}/numedit_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/numedit_widget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/numedit_factory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/numedit_render.cpp
  LIBS uego_widgets_numedit Qt6::Test)
