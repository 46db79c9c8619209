# Picks the Qt major version the whole tree builds with and names its targets.
#
#   cmake -S . -B build-qt6 -DTESSEL_QT_MAJOR=6
#
# After this file:
#   TESSEL_QT                  "Qt5" or "Qt6", the package and target prefix
#   TESSEL_QT_MULTIMEDIA       ON when Multimedia and MultimediaWidgets were found
#   tessel_qt(<target> <PUBLIC|PRIVATE|INTERFACE> <Component>...)
#                              links the target to those Qt components of the
#                              chosen version: tessel_qt(foo PRIVATE Core Widgets)
# Sources that must differ between the versions test QT_VERSION_MAJOR.
set(TESSEL_QT_MAJOR 5 CACHE STRING "Qt major version to build with: 5 or 6")
set_property(CACHE TESSEL_QT_MAJOR PROPERTY STRINGS 5 6)

if(TESSEL_QT_MAJOR STREQUAL "5")
    set(tessel_qt_minimum 5.14)
elseif(TESSEL_QT_MAJOR STREQUAL "6")
    set(tessel_qt_minimum 6.2)
else()
    message(FATAL_ERROR "TESSEL_QT_MAJOR is 5 or 6, not '${TESSEL_QT_MAJOR}'")
endif()
set(TESSEL_QT Qt${TESSEL_QT_MAJOR})

find_package(${TESSEL_QT} ${tessel_qt_minimum} REQUIRED COMPONENTS Core Gui Widgets Test)
find_package(${TESSEL_QT} ${tessel_qt_minimum} COMPONENTS Multimedia MultimediaWidgets)
if(${TESSEL_QT}Multimedia_FOUND AND ${TESSEL_QT}MultimediaWidgets_FOUND)
    set(TESSEL_QT_MULTIMEDIA ON)
else()
    set(TESSEL_QT_MULTIMEDIA OFF)
endif()
message(STATUS "Building with Qt ${${TESSEL_QT}_VERSION}")

function(tessel_qt target scope)
    list(TRANSFORM ARGN PREPEND "${TESSEL_QT}::" OUTPUT_VARIABLE components)
    target_link_libraries(${target} ${scope} ${components})
endfunction()
