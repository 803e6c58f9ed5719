#pragma once
#include <json/value.h>
#include <string>

// Parses a JSON text received at run time with the classic reader and its default
// features. The reader stops after the first value it recognises and even takes a lone
// "-" for a number, so "--token=abc" would pass as the number 0; a text counts as parsed
// only when nothing but white space follows that value. Never throws.
bool ParseJsonText(const std::string& text, Json::Value& root);
