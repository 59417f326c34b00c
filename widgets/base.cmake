# Shared widget base, bevel, colours, flash service, LED and toggle switch.
add_library(uego_widgets_base STATIC
  ${CMAKE_CURRENT_LIST_DIR}/_GClass.h
  ${CMAKE_CURRENT_LIST_DIR}/AbBase.h ${CMAKE_CURRENT_LIST_DIR}/AbBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbBevel.h ${CMAKE_CURRENT_LIST_DIR}/AbBevel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbCanvas.h ${CMAKE_CURRENT_LIST_DIR}/AbCanvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbColors.h ${CMAKE_CURRENT_LIST_DIR}/AbColors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbGeometry.h ${CMAKE_CURRENT_LIST_DIR}/AbGeometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbOpaque.h ${CMAKE_CURRENT_LIST_DIR}/AbOpaque.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbGradFill.h ${CMAKE_CURRENT_LIST_DIR}/AbGradFill.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbGraphicControl.h ${CMAKE_CURRENT_LIST_DIR}/AbGraphicControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbFlashT.h ${CMAKE_CURRENT_LIST_DIR}/AbFlashT.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbBinGControl.h ${CMAKE_CURRENT_LIST_DIR}/AbBinGControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbText.h ${CMAKE_CURRENT_LIST_DIR}/AbText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbLED.h ${CMAKE_CURRENT_LIST_DIR}/AbLED.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbSwitch.h ${CMAKE_CURRENT_LIST_DIR}/AbSwitch.cpp
)
target_include_directories(uego_widgets_base PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(uego_widgets_base PUBLIC uego_format uego_platform uego_platform_qt Qt6::Widgets)
