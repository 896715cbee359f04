# Draws the program's icon at build time (tools/make_icon.py); the Windows programs
# take it into their resources as their first icon group.
set(VELMORA_ICON ${VELMORA_GENERATED_DIR}/Velmora.ico)
add_custom_command(
  OUTPUT ${VELMORA_ICON}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_icon.py --out ${VELMORA_ICON}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py
  COMMENT "Drawing the program's icon")
add_custom_target(velmora_icon DEPENDS ${VELMORA_ICON})

# Gives a Windows executable the icon and the version resource (VersionInfo.rc) through
# its resource script rc.
function(velmora_use_icon target rc)
  add_dependencies(${target} velmora_icon)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${VELMORA_ICON};${VELMORA_GENERATED_DIR}/VersionInfo.rc")
  target_include_directories(${target} PRIVATE ${VELMORA_GENERATED_DIR})
endfunction()
