# Draws the pictures into a fresh folder, twice, and compares both runs with
# the committed files: the generator is deterministic and its output current.
file(REMOVE_RECURSE "${WORK}")
foreach(run first second)
  execute_process(COMMAND "${PYTHON}" "${ART}/draw_resources.py" --out "${WORK}/${run}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "draw_resources.py failed: ${status}")
  endif()
  foreach(name nestiq.ico busy.avi about.bmp nestiq.png)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${ART}/${name}" "${WORK}/${run}/${name}"
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      message(FATAL_ERROR "${run} run: ${name} differs from the committed res/art/${name}")
    endif()
  endforeach()
endforeach()
file(REMOVE_RECURSE "${WORK}")
