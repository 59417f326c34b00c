# Numeric edit field TAbNumEdit, its pure parsing/formatting helpers and the configured
# fields of the program's windows.
add_library(uego_widgets_numedit STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AbCachedPanel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbCachedPanel.h
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEdit.h
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditBase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditBase.h
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditColor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditColor.h
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditFactory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditFactory.h
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditParse.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditParse.h
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AbNumEditText.h
)
target_include_directories(uego_widgets_numedit PUBLIC ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(uego_widgets_numedit PUBLIC uego_widgets_base uego_format uego_platform uego_platform_qt Qt6::Widgets)
