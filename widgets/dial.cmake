# Analog value model, round scale and the 270-degree meter.
add_library(uego_widgets_dial STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AbScaleGeometry.h ${CMAKE_CURRENT_LIST_DIR}/AbScaleGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbAnalogSettings.h ${CMAKE_CURRENT_LIST_DIR}/AbAnalogSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbOptionSet.h
  ${CMAKE_CURRENT_LIST_DIR}/AbAnalogGControl.h ${CMAKE_CURRENT_LIST_DIR}/AbAnalogGControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbScale.h ${CMAKE_CURRENT_LIST_DIR}/AbScale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbRMeter.h ${CMAKE_CURRENT_LIST_DIR}/AbRMeter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbMeterFactory.h ${CMAKE_CURRENT_LIST_DIR}/AbMeterFactory.cpp
)
target_include_directories(uego_widgets_dial PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(uego_widgets_dial PUBLIC uego_widgets_base uego_platform uego_platform_qt Qt6::Widgets)
