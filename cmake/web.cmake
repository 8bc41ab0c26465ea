# The browser program: vexmoro.js and vexmoro.wasm, with the data set packed beside them in
# vexmoro.data, which the page downloads before main runs. WebGL 2 only; one thread; memory that
# grows as the pictures load; main is called by the page on a click (INVOKE_RUN=0), and the
# runtime stays up for the main loop and for another run.
set(VEXMORO_WEB_DATA "" CACHE PATH "The data/ folder to pack for the page (the native build's)")
if(NOT IS_DIRECTORY "${VEXMORO_WEB_DATA}/textures")
  message(FATAL_ERROR "VEXMORO_WEB_DATA must name a generated data/ folder, not "
    "'${VEXMORO_WEB_DATA}' (scripts/build-web.sh builds one)")
endif()
target_link_options(vexmoro PRIVATE
  -sENVIRONMENT=web -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1
  -sINVOKE_RUN=0 -sEXIT_RUNTIME=0 "-sEXPORTED_RUNTIME_METHODS=['callMain','FS']"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${CMAKE_CURRENT_BINARY_DIR}/web-library-functions.json
  "SHELL:--preload-file ${VEXMORO_WEB_DATA}@/data" "SHELL:--exclude-file */.generated")
# SDL's Web Audio code calls these from its own JavaScript. (Named in a file: a "$" on the link
# command would reach emcc doubled.)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/web-library-functions.json
  [=[["$autoResumeAudioContext", "$dynCall"]]=])
set_property(TARGET vexmoro APPEND PROPERTY LINK_DEPENDS ${VEXMORO_WEB_DATA}/.generated)
