# cmake -DCORPUS=<folder> -DSEEDS=<glob|glob|...> -P PrepareCorpus.cmake
# Fills the working corpus of a fuzz target with its seed files. The folder lives in the build tree:
# libFuzzer adds the inputs it finds there, and the seeds in the source tree stay untouched.
file(MAKE_DIRECTORY ${CORPUS})
string(REPLACE "|" ";" SEEDS "${SEEDS}")
foreach(pattern IN LISTS SEEDS)
    file(GLOB seeds ${pattern})
    file(COPY ${seeds} DESTINATION ${CORPUS})
endforeach()
