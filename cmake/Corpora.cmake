# Packs the JSON-lines corpora into generated C++ sources at build time.
set(VELMORA_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${VELMORA_GENERATED_DIR})

set(VELMORA_ASTRO_DATA_CPP ${VELMORA_GENERATED_DIR}/AstroCorpusChunks.cpp)
set(VELMORA_JOKE_DATA_CPP ${VELMORA_GENERATED_DIR}/JokeCorpusChunks.cpp)
set(VELMORA_FOLK_DATA_CPP ${VELMORA_GENERATED_DIR}/FolkTable.cpp)

# Each function is called in the folder of the library that compiles its output.
function(velmora_pack_astro_data)
add_custom_command(
  OUTPUT ${VELMORA_ASTRO_DATA_CPP}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pack_corpus.py
          --out ${VELMORA_ASTRO_DATA_CPP}
          Weekly=${CMAKE_SOURCE_DIR}/corpora/weekly_horoscopes.jsonl
          Daily=${CMAKE_SOURCE_DIR}/corpora/daily_horoscopes.jsonl
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/pack_corpus.py
          ${CMAKE_SOURCE_DIR}/corpora/weekly_horoscopes.jsonl
          ${CMAKE_SOURCE_DIR}/corpora/daily_horoscopes.jsonl
  COMMENT "Packing the astro corpora")
endfunction()

function(velmora_pack_joke_data)
add_custom_command(
  OUTPUT ${VELMORA_JOKE_DATA_CPP}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pack_corpus.py
          --out ${VELMORA_JOKE_DATA_CPP} --count-records Joke
          Joke=${CMAKE_SOURCE_DIR}/corpora/jokes.jsonl
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/pack_corpus.py ${CMAKE_SOURCE_DIR}/corpora/jokes.jsonl
  COMMENT "Packing the joke corpus")
endfunction()

function(velmora_pack_folk_data)
add_custom_command(
  OUTPUT ${VELMORA_FOLK_DATA_CPP}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/pack_folk.py
          --out ${VELMORA_FOLK_DATA_CPP} ${CMAKE_SOURCE_DIR}/corpora/folk_calendar.tsv
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/pack_folk.py ${CMAKE_SOURCE_DIR}/corpora/folk_calendar.tsv
  COMMENT "Building the folk calendar table")
endfunction()
