# Analog value model, round scale and the 270-degree meter.
add_library(uego_widgets_dial STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AbScaleGeometry.h
  ${CMAKE_CURRENT_LIST_DIR}/AbScaleGeometry.cpp
)
target_include_directories(uego_widgets_dial PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(uego_widgets_dial PUBLIC uego_platform uego_platform_qt Qt6::Widgets)
