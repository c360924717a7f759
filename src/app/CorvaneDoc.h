// The document of the single-document frame: Corvane keeps no document data.
#pragma once

class CCorvaneDoc {};
