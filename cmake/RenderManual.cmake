# cmake -DCMARK_GFM=... -DINPUT=README.md -DOUTPUT=README.html -DVERSION=x.y.z -P RenderManual.cmake
# Renders the Markdown with GitHub's tables into one HTML page that reads well in any browser.
execute_process(COMMAND ${CMARK_GFM} --extension table --extension autolink --to html ${INPUT}
                OUTPUT_VARIABLE body RESULT_VARIABLE result ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmark-gfm could not render ${INPUT}: ${errors}")
endif()

set(style [=[
body { font-family: sans-serif; line-height: 1.5; max-width: 60em; margin: 2em auto; padding: 0 1em; color: #222; }
code, pre { font-family: monospace; background: #f4f4f4; }
pre { padding: 0.6em 1em; overflow-x: auto; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 0.3em 0.6em; text-align: left; vertical-align: top; }
img { max-width: 100%; }
]=])
file(WRITE ${OUTPUT} "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                     "<title>Tabulon ${VERSION}</title>\n<style>${style}</style>\n</head>\n<body>\n"
                     "${body}</body>\n</html>\n")
