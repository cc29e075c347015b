@echo off
rem A second run that confirms this machine is clean. Exit status 0: the
rem run found nothing and nothing failed; 1: it still found or removed
rem something, or something failed (see its output); 2: it did not run.
setlocal
set "OUT=%TEMP%\fix_pruxa_verify.txt"
"%~dp0fix_pruxa.exe" /Q >"%OUT%"
if errorlevel 1 exit /b 2
type "%OUT%"
rem Every line that is not a "not found" outcome is a reason to look.
find " Done." "%OUT%" >nul
if not errorlevel 1 exit /b 1
find " Failed." "%OUT%" >nul
if not errorlevel 1 exit /b 1
find "was deleted." "%OUT%" >nul
if not errorlevel 1 exit /b 1
find "could not be deleted." "%OUT%" >nul
if not errorlevel 1 exit /b 1
find "Failed to" "%OUT%" >nul
if not errorlevel 1 exit /b 1
find "Registry key" "%OUT%" >nul
if not errorlevel 1 exit /b 1
find "Could not open log file" "%OUT%" >nul
if not errorlevel 1 exit /b 1
exit /b 0
