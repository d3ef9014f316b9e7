# The guide window, what opens it with F1 and the sample texts it opens, with the guide's pages
# and the samples compiled in as resources (":/guide/...", ":/texts/esempi/...",
# ":/texts/letture/...").
target_sources(tallivo_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/fguida.cpp
    ${CMAKE_CURRENT_LIST_DIR}/guide_opener.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sample_texts.cpp)
target_include_directories(tallivo_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
set(resources ${PROJECT_SOURCE_DIR}/resources)
qt_add_resources(tallivo_ui "guide"
    PREFIX "/guide"
    BASE "${resources}/guide"
    FILES
        ${resources}/guide/index.html
        ${resources}/guide/finestra.html
        ${resources}/guide/decifra.html
        ${resources}/guide/esercizi.html
        ${resources}/guide/insegnante.html)
set(samples cesare sostituzione affine vigenere beaufort autochiave trasposizione staccionata
            playfair)
set(readings ciclo-acqua rosetta marco-polo api)
list(TRANSFORM samples REPLACE "(.+)" "${resources}/texts/esempi/\\1.txt")
list(TRANSFORM readings REPLACE "(.+)" "${resources}/texts/letture/\\1.txt")
qt_add_resources(tallivo_ui "texts"
    PREFIX "/texts"
    BASE "${resources}/texts"
    FILES ${samples} ${readings})
