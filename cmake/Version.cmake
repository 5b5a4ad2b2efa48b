# The one version source is project(Vantrel VERSION ...). Everything that shows a
# version is derived from it here.
#   VANTREL_VERSION_QUAD  1.0.0.0, the numeric form of the version resource and manifest
#   VANTREL_VERSION_TEXT  1.00, the form the version strings have always had
#                         (major, two-digit minor, and the patch only once there is one)
set(VANTREL_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
string(LENGTH "${PROJECT_VERSION_MINOR}" minor_digits)
if(minor_digits LESS 2)
    set(VANTREL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(VANTREL_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
if(PROJECT_VERSION_PATCH GREATER 0)
    string(APPEND VANTREL_VERSION_TEXT ".${PROJECT_VERSION_PATCH}")
endif()
