# Compresses INPUT to OUTPUT as Debian wants it: best compression, no name or time stamp inside.
# Usage: cmake -DINPUT=... -DOUTPUT=... -P Gzip.cmake
cmake_minimum_required(VERSION 3.19)
execute_process(COMMAND gzip -9nc INPUT_FILE "${INPUT}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${INPUT} failed: ${result}")
endif()
