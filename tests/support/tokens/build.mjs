// Builds a token file into CSS variables with Style Dictionary's own css transforms and
// format; a warning is an error, so the run fails on anything it had to guess.
// usage: node build.mjs TOKENS.json OUT_DIR
import StyleDictionary from 'style-dictionary';

const [tokens, out] = process.argv.slice(2);
const dictionary = new StyleDictionary({
  source: [tokens],
  log: { warnings: 'error', verbosity: 'verbose' },
  platforms: {
    css: {
      transformGroup: 'css',
      buildPath: out.endsWith('/') ? out : out + '/',
      files: [{ destination: 'variables.css', format: 'css/variables' }],
    },
  },
});
await dictionary.buildAllPlatforms();
