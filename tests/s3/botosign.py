"""Signs one request with botocore's S3 signer, as boto3 would; prints the Authorization header.

Reads a JSON object on standard input: access_key, secret, region, method, path (not encoded),
query (pairs, not encoded), headers (pairs, x-amz-date and x-amz-content-sha256 among them).
"""
import json
import sys
from urllib.parse import quote

from botocore.auth import S3SigV4Auth
from botocore.awsrequest import AWSRequest
from botocore.credentials import Credentials

spec = json.load(sys.stdin)
headers = dict(spec["headers"])
host = next(value for name, value in spec["headers"] if name.lower() == "host")
timestamp = next(value for name, value in spec["headers"] if name.lower() == "x-amz-date")
request = AWSRequest(method=spec["method"], url="https://" + host + quote(spec["path"], safe="/~"),
                     headers=headers, params=[tuple(pair) for pair in spec["query"]])
request.context["timestamp"] = timestamp
auth = S3SigV4Auth(Credentials(spec["access_key"], spec["secret"]), "s3", spec["region"])
canonical = auth.canonical_request(request)
signature = auth.signature(auth.string_to_sign(request, canonical), request)
auth._inject_signature_to_request(request, signature)
print(request.headers["Authorization"])
