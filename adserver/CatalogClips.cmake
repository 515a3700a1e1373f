# Encodes the catalogue's video clips with the ffmpeg program: a dark screen with the running
# time drawn big (seconds and tenths), a bar along the bottom edge that grows with the time (so a
# frame's time can be told from a single pixel), and a steady tone.
find_program(FFMPEG_PROGRAM ffmpeg REQUIRED)
set(CLIP_FONT /usr/share/fonts/truetype/liberation/LiberationMono-Bold.ttf)

# make_clip(NAME name SECONDS s BACKGROUND 0xRRGGBB TONE hertz): ${ADSERVER_GENERATED_DIR}/video/name.mp4
function(make_clip)
  cmake_parse_arguments(ARG "" "NAME;SECONDS;BACKGROUND;TONE" "" ${ARGN})
  set(output ${ADSERVER_GENERATED_DIR}/video/${ARG_NAME}.mp4)
  set(clock "%{eif\\:trunc(t)\\:d}.%{eif\\:mod(trunc(t*10)\\,10)\\:d}")
  set(graph "[0][1]overlay=x='-W+W*t/${ARG_SECONDS}':y=H-h,drawtext=fontfile=${CLIP_FONT}:fontsize=96:fontcolor=white:x=(w-tw)/2:y=(h-th)/2-10:text='${clock}'[v]")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ADSERVER_GENERATED_DIR}/video
    COMMAND ${FFMPEG_PROGRAM} -hide_banner -loglevel error -y
      -f lavfi -i color=c=${ARG_BACKGROUND}:s=320x240:r=30:d=${ARG_SECONDS}
      -f lavfi -i color=c=white:s=320x16:r=30:d=${ARG_SECONDS}
      -f lavfi -i sine=frequency=${ARG_TONE}:sample_rate=44100:duration=${ARG_SECONDS}
      -filter_complex ${graph} -map [v] -map 2:a
      -c:v libx264 -preset veryfast -pix_fmt yuv420p -threads 1 -c:a aac -b:a 64k
      -shortest -movflags +faststart ${output}
    DEPENDS ${CMAKE_CURRENT_LIST_FILE}
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY CATALOG_CLIPS ${output})
endfunction()

make_clip(NAME clock SECONDS 6 BACKGROUND 0x203060 TONE 440)
make_clip(NAME second SECONDS 3 BACKGROUND 0x602020 TONE 660)

get_property(clips GLOBAL PROPERTY CATALOG_CLIPS)
add_custom_target(catalog-clips ALL DEPENDS ${clips})
