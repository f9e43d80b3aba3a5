# The real workstation orders (log off, power off, reboot) belong to the ztgl program alone:
# nothing outside app/ztgl/ may include them or call the system for them, so that no library,
# test or other program can make them. Run as: cmake -DROOT=<source root> -P CheckWorkstationOrders.cmake
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/app/*.h ${ROOT}/app/*.cpp ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp)
set(bad "")
foreach(f ${files})
    if(f MATCHES "^app/ztgl/")
        continue()
    endif()
    file(STRINGS ${ROOT}/${f} hits REGEX "(Logind|Win|System)ShutDown\\.h|ExitWindowsEx *\\(|org\\.freedesktop\\.login1\"")
    if(hits)
        string(APPEND bad "  ${f}\n")
    endif()
endforeach()
if(bad)
    message(FATAL_ERROR "The real workstation orders are used outside app/ztgl/:\n${bad}")
endif()
