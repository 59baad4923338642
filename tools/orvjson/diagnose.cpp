#include "diagnose.h"

#include "text/json_parse.h"

namespace orvtool {

std::string Diagnose(const std::string& name, const std::string& text) {
  orv::Document scratch;
  const orv::ParseOutcome outcome = orv::ParseJsonText(scratch, text.c_str(), text.size());
  if (outcome) return name + " is not valid JSON";  // it changed since the library read it
  const orv::LoadProblem problem = orv::DescribeProblem(outcome, text.c_str(), text.size());
  return name + ":" + std::to_string(problem.line) + ":" + std::to_string(problem.column) + ": " + problem.message;
}

}  // namespace orvtool
