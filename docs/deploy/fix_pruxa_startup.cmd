@echo off
rem Computer startup script (Group Policy): runs FIX_PRUXA quietly from a
rem local copy, so that the log is written on this machine, then copies the
rem log and the exit status to a collection folder named as the first
rem parameter, e.g. \\fileserver\fix_pruxa$ (optional).
setlocal
set "COLLECT=%~1"
set "LOCAL=%SystemRoot%\Temp\fix_pruxa"
if not exist "%LOCAL%" mkdir "%LOCAL%"
copy /y "%~dp0fix_pruxa.exe" "%LOCAL%\fix_pruxa.exe" >nul
"%LOCAL%\fix_pruxa.exe" /Q >"%LOCAL%\console.txt"
set "STATUS=%ERRORLEVEL%"
if "%COLLECT%"=="" goto done
copy /y "%LOCAL%\fix_pruxa.log" "%COLLECT%\%COMPUTERNAME%.log" >nul
copy /y "%LOCAL%\console.txt" "%COLLECT%\%COMPUTERNAME%.txt" >nul
>"%COLLECT%\%COMPUTERNAME%.status" echo %STATUS%
:done
exit /b %STATUS%
