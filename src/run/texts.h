#pragma once

void PrintBanner();
void PrintUsage();
