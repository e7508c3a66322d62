# The program-wide values of the original window (the problem table, the
# counts and flags, the page scale and the random state) belong to the few
# files that implement that interface; every other layer is handed values.
# Run as a test:
#   cmake -DSOURCE_DIR=<the source tree> -P cmake/CheckProgramWideValues.cmake
set(names "ProblemTable|QuestionCount|PrintNumber|ShowAnswers|PreviewReady|RandomState|PageScale|SetPageScale|ScaleLen|RandomInt|SeedRandom|TAnswersShown")
set(allowed
    worksheet/problems.h worksheet/problems.cpp         # the table and the values
    worksheet/random.h worksheet/random.cpp             # RandomState
    worksheet/generator.h worksheet/generator.cpp       # GenerateProblems, PickDigits
    render/page_scale.h render/page_scale.cpp           # PageScale
    render/hissan.h render/hissan.cpp                   # Hissan
    render/page_layout.h render/page_layout.cpp         # MakePrint
    app/shown_sheet.h app/shown_sheet.cpp               # the window's owner of the shown sheet
)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
set(found "")
foreach(source IN LISTS sources)
    if(source MATCHES "^(build[^/]*|testing|bench|tools|fuzz|web)/" OR source MATCHES "(^|/)tests?/")
        continue()
    endif()
    list(FIND allowed ${source} at)
    if(NOT at EQUAL -1)
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} lines)
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "//.*$" "" code "${line}")
        if(code MATCHES "(^|[^A-Za-z0-9_])(${names})([^A-Za-z0-9_]|$)")
            string(STRIP "${line}" line)
            list(APPEND found "${source}: ${line}")
        endif()
    endforeach()
endforeach()
if(found)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "The program-wide values are used outside the files of the original interface:\n  ${text}")
endif()
