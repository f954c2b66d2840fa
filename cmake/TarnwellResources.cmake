# Pictures and sounds are generated at build time by our own tools (tools/) and compiled once,
# into the object library tarnwell_resources that the program, the tests and the benchmarks
# link, with the SVG deck the card faces are drawn from at run time. An object library's
# objects are always linked whole, so no resource can be dropped by the linker as it could from
# a static library.

set(TARNWELL_ART_DIR ${CMAKE_BINARY_DIR}/generated/art)
set(TARNWELL_SOUND_DIR ${CMAKE_BINARY_DIR}/generated/sounds)

# The card pictures of both sets as the game draws them (faces 1..52, backs 200..212,
# mask/slot/highlight/shadow 400..403, the small set the same numbers plus 1000): the game draws
# its own at run time, at the size the window asks for (cards/art); these are drawn with the
# same code for the help's pictures and for a close look (cardart --sheet).
set(TARNWELL_CARD_FILES)
foreach(base 0 1000)
  foreach(id RANGE 1 52)
    math(EXPR n "${base} + ${id}")
    list(APPEND TARNWELL_CARD_FILES ${TARNWELL_ART_DIR}/cards/${n}.png)
  endforeach()
  foreach(id RANGE 200 212)
    math(EXPR n "${base} + ${id}")
    list(APPEND TARNWELL_CARD_FILES ${TARNWELL_ART_DIR}/cards/${n}.png)
  endforeach()
  foreach(id RANGE 400 403)
    math(EXPR n "${base} + ${id}")
    list(APPEND TARNWELL_CARD_FILES ${TARNWELL_ART_DIR}/cards/${n}.png)
  endforeach()
endforeach()

# Button glyphs, dialog pictures and the program icon: the pictures the program carries.
set(TARNWELL_ART_FILES)
foreach(name glyph_deal glyph_undo glyph_hint glyph_ok glyph_cancel about_fan
             icon_16 icon_32 icon_48 icon_64 icon_128 icon_256)
  list(APPEND TARNWELL_ART_FILES ${TARNWELL_ART_DIR}/pictures/${name}.png)
endforeach()

set(TARNWELL_SOUND_NAMES MOVETO DEAL ERROR MOVEHOME PLAYCARD STARTMOVE UNDO WINNER BLAST ROCKET)
set(TARNWELL_SOUND_FILES)
foreach(name ${TARNWELL_SOUND_NAMES})
  list(APPEND TARNWELL_SOUND_FILES ${TARNWELL_SOUND_DIR}/${name}.wav)
endforeach()

# Defines tarnwell_resources once the generating targets exist.
function(tarnwell_define_resources)
  add_library(tarnwell_resources OBJECT)
  add_dependencies(tarnwell_resources tarnwell_artwork tarnwell_sounds)
  target_link_libraries(tarnwell_resources PRIVATE Qt6::Core)
  set_source_files_properties(${TARNWELL_ART_FILES} ${TARNWELL_SOUND_FILES} PROPERTIES GENERATED TRUE)
  qt_add_resources(tarnwell_resources "tarnwell_art" PREFIX "/" BASE ${TARNWELL_ART_DIR}
                   FILES ${TARNWELL_ART_FILES})
  qt_add_resources(tarnwell_resources "tarnwell_sounds" PREFIX "/sounds" BASE ${TARNWELL_SOUND_DIR}
                   FILES ${TARNWELL_SOUND_FILES})
  # Already compressed: stored as it is, read as :/cards/anglo.svgz.
  set_source_files_properties(${TARNWELL_DECK_SVG} PROPERTIES QT_RESOURCE_ALIAS anglo.svgz)
  qt_add_resources(tarnwell_resources "tarnwell_deck" PREFIX "/cards" FILES ${TARNWELL_DECK_SVG}
                   OPTIONS -no-compress)
endfunction()
