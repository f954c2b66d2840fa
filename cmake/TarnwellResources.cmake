# Pictures and sounds are generated at build time by our own tools (tools/) and compiled into
# whichever executable needs them. Resources are added to executables, never to static
# libraries, so they cannot be silently dropped by the linker.

set(TARNWELL_ART_DIR ${CMAKE_BINARY_DIR}/generated/art)
set(TARNWELL_SOUND_DIR ${CMAKE_BINARY_DIR}/generated/sounds)

# Numbered card pictures: faces 1..52, backs 200..212, mask/slot/highlight/shadow 400..403;
# the small set is the same numbers plus 1000.
set(TARNWELL_CARD_IDS)
foreach(base 0 1000)
  foreach(id RANGE 1 52)
    math(EXPR n "${base} + ${id}")
    list(APPEND TARNWELL_CARD_IDS ${n})
  endforeach()
  foreach(id RANGE 200 212)
    math(EXPR n "${base} + ${id}")
    list(APPEND TARNWELL_CARD_IDS ${n})
  endforeach()
  foreach(id RANGE 400 403)
    math(EXPR n "${base} + ${id}")
    list(APPEND TARNWELL_CARD_IDS ${n})
  endforeach()
endforeach()

set(TARNWELL_ART_FILES)
foreach(id ${TARNWELL_CARD_IDS})
  list(APPEND TARNWELL_ART_FILES ${TARNWELL_ART_DIR}/cards/${id}.png)
endforeach()
# Button glyphs, dialog pictures and the program icon.
foreach(name glyph_deal glyph_undo glyph_hint glyph_ok glyph_cancel about_fan
             icon_16 icon_32 icon_48 icon_64 icon_128 icon_256)
  list(APPEND TARNWELL_ART_FILES ${TARNWELL_ART_DIR}/pictures/${name}.png)
endforeach()

set(TARNWELL_SOUND_NAMES MOVETO DEAL ERROR MOVEHOME PLAYCARD STARTMOVE UNDO WINNER BLAST ROCKET)
set(TARNWELL_SOUND_FILES)
foreach(name ${TARNWELL_SOUND_NAMES})
  list(APPEND TARNWELL_SOUND_FILES ${TARNWELL_SOUND_DIR}/${name}.wav)
endforeach()

function(tarnwell_add_artwork target)
  add_dependencies(${target} tarnwell_artwork)
  set_source_files_properties(${TARNWELL_ART_FILES} PROPERTIES GENERATED TRUE)
  qt_add_resources(${target} "tarnwell_art" PREFIX "/" BASE ${TARNWELL_ART_DIR}
                   FILES ${TARNWELL_ART_FILES})
endfunction()

function(tarnwell_add_sounds target)
  add_dependencies(${target} tarnwell_sounds)
  set_source_files_properties(${TARNWELL_SOUND_FILES} PROPERTIES GENERATED TRUE)
  qt_add_resources(${target} "tarnwell_sounds" PREFIX "/sounds" BASE ${TARNWELL_SOUND_DIR}
                   FILES ${TARNWELL_SOUND_FILES})
endfunction()
