# The user guide and the pictures it shows, which ship beside the program:
# VTQ_USER_GUIDE is the guide's source, VTQ_USER_GUIDE_IMAGES the <img>
# sources it names, relative to its folder (e.g. screenshots/Form1.png).
# Changing the guide configures again, so that a new picture ships too.
set(VTQ_USER_GUIDE ${VTQ_ROOT}/docs/Vantrelloquin.html)
set_property(DIRECTORY ${VTQ_ROOT} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VTQ_USER_GUIDE})
file(READ ${VTQ_USER_GUIDE} guide_text)
string(REGEX MATCHALL "<img[^>]* src=\"[^\"]+\"" image_tags "${guide_text}")
set(VTQ_USER_GUIDE_IMAGES)
foreach(tag IN LISTS image_tags)
  string(REGEX REPLACE ".* src=\"([^\"]+)\"" "\\1" image "${tag}")
  list(APPEND VTQ_USER_GUIDE_IMAGES ${image})
endforeach()
list(REMOVE_DUPLICATES VTQ_USER_GUIDE_IMAGES)
unset(guide_text)
unset(image_tags)
