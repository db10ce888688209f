# The other Windows services of the print program: message boxes, child
# processes, profile files, PNG images and text written into images.
list(APPEND ZUVPRINT_WINDOWS_BACKEND
)
list(APPEND ZUVPRINT_WINDOWS_TESTS
)
