"""What a local S3 store holds, as boto3 reads it; prints {"result": ...} as JSON.

    s3read.py ENDPOINT get BUCKET KEY OUT   -> {"type", "cache", "size"}; the bytes into OUT
    s3read.py ENDPOINT keys BUCKET          -> every key of the bucket, sorted
    s3read.py ENDPOINT list BUCKET PREFIX   -> {key: [size, "LastModified in ISO 8601, UTC"]}
    s3read.py ENDPOINT fill BUCKET PREFIX N -> N small objects PREFIX0000...
    s3read.py ENDPOINT put BUCKET KEY TEXT
"""
import json
import sys

import boto3
from botocore.config import Config

endpoint, command, bucket, *rest = sys.argv[1:]
client = boto3.client("s3", endpoint_url=endpoint, aws_access_key_id="S3RVER", aws_secret_access_key="S3RVER",
                      region_name="us-east-1", config=Config(s3={"addressing_style": "path"}))
result = None
if command == "get":
    key, out = rest
    answer = client.get_object(Bucket=bucket, Key=key)
    with open(out, "wb") as file:
        file.write(answer["Body"].read())
    result = {"type": answer.get("ContentType", ""), "cache": answer.get("CacheControl", ""),
              "size": answer["ContentLength"]}
elif command in ("keys", "list"):
    prefix = rest[0] if rest else ""
    found = {}
    for page in client.get_paginator("list_objects_v2").paginate(Bucket=bucket, Prefix=prefix):
        for entry in page.get("Contents", []):
            found[entry["Key"]] = [entry["Size"], entry["LastModified"].isoformat(timespec="milliseconds")]
    result = sorted(found) if command == "keys" else found
elif command == "fill":
    prefix, count = rest
    for number in range(int(count)):
        client.put_object(Bucket=bucket, Key="%s%04d" % (prefix, number), Body=b"x" * (number % 7))
elif command == "put":
    key, text = rest
    client.put_object(Bucket=bucket, Key=key, Body=text.encode())
json.dump({"result": result}, sys.stdout)
