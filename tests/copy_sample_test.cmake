# The build's copy of the sample script: into a folder without GUI_All.txt it
# puts the sample; over an existing GUI_All.txt (the user's edits) nothing.
set(folder "${WORK_FOLDER}/copy_sample_test")
file(REMOVE_RECURSE "${folder}")
file(MAKE_DIRECTORY "${folder}/fresh" "${folder}/edited")
file(WRITE "${folder}/edited/GUI_All.txt" "edited by the user")
foreach(target fresh edited)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSAMPLE_FOLDER=${SAMPLE_FOLDER} -DTARGET_FOLDER=${folder}/${target}
                          -P ${COPY_SCRIPT} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the copy failed for ${target}")
  endif()
endforeach()
file(READ "${folder}/edited/GUI_All.txt" edited)
if(NOT edited STREQUAL "edited by the user")
  message(FATAL_ERROR "the sample replaced an existing GUI_All.txt")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SAMPLE_FOLDER}/GUI_All.txt" "${folder}/fresh/GUI_All.txt"
                RESULT_VARIABLE different)
if(different OR NOT EXISTS "${folder}/fresh/zarvo.png")
  message(FATAL_ERROR "the sample was not copied into a folder without one")
endif()
file(REMOVE_RECURSE "${folder}")
